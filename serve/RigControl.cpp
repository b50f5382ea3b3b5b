#include "serve/RigControl.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "serve/Hertz.h"
#include "serve/RigCapabilities.h"

namespace {

constexpr int kOk = 0;
constexpr int kInvalidArgument = -1;
constexpr int kNotImplemented = -4;
constexpr int kHandlerFailed = -7;
constexpr int kProtocolError = -8;
constexpr int kNotAvailable = -11;

using Arguments = std::vector<std::string_view>;

std::string Report(int code) { return "RPRT " + std::to_string(code) + "\n"; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A passband in hertz: decimal, "-1" meaning no change and "0" the default.
bool IsWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr std::string_view kVfoA = "VFOA";
// The VFO names the protocol knows; of them the radio has VFOA alone, which
// is also the current one.
constexpr std::string_view kVfoNames[] = {"VFOA",  "VFOB",  "VFOC",  "currVFO", "VFO",  "MEM",
                                          "Main",  "Sub",   "TX",    "RX",      "MainA", "MainB",
                                          "MainC", "SubA",  "SubB",  "SubC"};

}  // namespace

struct RigControl::Command {
  std::string_view shortName;  // one character, or empty when there is none
  std::string_view longName;   // without its backslash
  std::size_t minArguments;
  std::size_t maxArguments;
  std::string (*run)(RigControl& rig, const Arguments& arguments);
};

const RigControl::Command* RigControl::Find(std::string_view name) {
  static const Command kCommands[] = {
      {"f", "get_freq", 0, 0, [](RigControl& rig, const Arguments&) { return rig.GetFrequency(); }},
      {"F", "set_freq", 1, 1, [](RigControl& rig, const Arguments& a) { return rig.SetFrequency(a[0]); }},
      {"m", "get_mode", 0, 0, [](RigControl& rig, const Arguments&) { return rig.GetMode(); }},
      {"M", "set_mode", 1, 2,
       [](RigControl& rig, const Arguments& a) { return rig.SetMode(a[0], a.size() > 1 ? a[1] : "-1"); }},
      {"v", "get_vfo", 0, 0, [](RigControl&, const Arguments&) { return std::string(kVfoA) + "\n"; }},
      {"V", "set_vfo", 1, 1, [](RigControl& rig, const Arguments& a) { return rig.SetVfo(a[0]); }},
      {"t", "get_ptt", 0, 0, [](RigControl&, const Arguments&) { return std::string("0\n"); }},
      {"s", "get_split_vfo", 0, 0,
       [](RigControl&, const Arguments&) { return "0\n" + std::string(kVfoA) + "\n"; }},
      // VFO mode off: commands carry no VFO argument.
      {"", "chk_vfo", 0, 0, [](RigControl&, const Arguments&) { return std::string("0\n"); }},
      {"", "dump_state", 0, 0, [](RigControl&, const Arguments&) { return DumpStateText(); }},
      {"", "get_powerstat", 0, 0, [](RigControl&, const Arguments&) { return std::string("1\n"); }},
      // Unlocked; a client that reads an error here does not send its mode.
      {"", "get_lock_mode", 0, 0, [](RigControl&, const Arguments&) { return std::string("0\n"); }},
      {"q", "quit", 0, 0, [](RigControl&, const Arguments&) { return Report(kOk); }},
  };
  const bool isLong = !name.empty() && name.front() == '\\';
  if (isLong) name.remove_prefix(1);
  const auto found = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const Command& command) {
    return isLong ? command.longName == name : !command.shortName.empty() && command.shortName == name;
  });
  return found == std::end(kCommands) ? nullptr : found;
}

RigAnswer RigControl::Answer(std::string_view line) {
  const std::vector<std::string_view> words = Words(line);
  if (words.empty()) return {};
  const Command* command = Find(words.front());
  if (command == nullptr) return {Report(kNotImplemented)};
  const Arguments arguments(words.begin() + 1, words.end());
  if (arguments.size() < command->minArguments || arguments.size() > command->maxArguments) {
    return {Report(kInvalidArgument)};
  }
  return {command->run(*this, arguments), command->longName == "quit"};
}

std::string RigControl::OverlongAnswer() { return Report(kProtocolError); }

std::string RigControl::GetFrequency() {
  const auto hertz = HertzShown(panel_.Read());
  return hertz ? std::to_string(*hertz) + "\n" : Report(kNotAvailable);
}

std::string RigControl::SetFrequency(std::string_view hertz) {
  const auto frequency = PanelFrequencyFromHertz(hertz);
  if (!frequency) return Report(kInvalidArgument);
  return Report(panel_.Tune(frequency->kilohertz, frequency->tenths) ? kOk : kHandlerFailed);
}

std::string RigControl::GetMode() {
  if (!panel_.Read().ssb) return "AM\n" + std::to_string(kAmPassbandHz) + "\n";
  return sideband_ + "\n" + std::to_string(kSsbPassbandHz) + "\n";
}

// The passband is checked but not used: the radio's filters are fixed.
std::string RigControl::SetMode(std::string_view mode, std::string_view passband) {
  if (!IsWholeNumber(passband)) return Report(kInvalidArgument);
  const bool sideband = mode == "USB" || mode == "LSB";
  if (mode != "AM" && mode != "SSB" && !sideband) return Report(kInvalidArgument);
  if (!panel_.SetMode(mode != "AM")) return Report(kHandlerFailed);
  if (sideband) sideband_ = std::string(mode);
  return Report(kOk);
}

std::string RigControl::SetVfo(std::string_view vfo) {
  if (vfo == kVfoA || vfo == "currVFO") return Report(kOk);
  const bool known = std::find(std::begin(kVfoNames), std::end(kVfoNames), vfo) != std::end(kVfoNames);
  return Report(known ? kNotAvailable : kInvalidArgument);
}
