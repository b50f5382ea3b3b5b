#include "serve/RigArguments.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

constexpr std::string_view kOurNames[] = {"currVFO", "VFOA", "Main", "VFO"};
constexpr std::string_view kOtherNames[] = {"VFOB",  "VFOC", "MEM",  "TX",   "RX",   "MainA",    "MainB",
                                            "MainC", "Sub",  "SubA", "SubB", "SubC", "otherVFO", "AllVFOs"};

bool Contains(const std::string_view* begin, const std::string_view* end, std::string_view name) {
  return std::find(begin, end, name) != end;
}

}  // namespace

std::optional<long long> LeadingInteger(std::string_view word) {
  std::size_t at = 0;
  if (at < word.size() && (word[at] == '+' || word[at] == '-')) ++at;
  if (at == word.size() || !std::isdigit(static_cast<unsigned char>(word[at]))) return std::nullopt;
  // strtoll clamps a value out of range.
  return std::strtoll(std::string(word).c_str(), nullptr, 10);
}

bool HasLeadingNumber(std::string_view word) {
  const std::string text(word);
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return end != text.c_str();
}

RigVfoName ClassifyVfo(std::string_view name) {
  if (Contains(std::begin(kOurNames), std::end(kOurNames), name)) return RigVfoName::kOurs;
  if (Contains(std::begin(kOtherNames), std::end(kOtherNames), name)) return RigVfoName::kMissing;
  return RigVfoName::kUnknown;
}

std::string_view EchoedVfo(std::string_view name) {
  return ClassifyVfo(name) == RigVfoName::kUnknown ? std::string_view("None") : name;
}
