#pragma once
// How the rig-control protocol reads its arguments. Numbers are read the
// way the protocol's own server reads them: a number at the start of the
// word, whatever follows it ("100Hz" is 100), so that an argument is refused
// exactly where that server refuses it. VFO names are matched exactly.

#include <optional>
#include <string_view>

// An integer, with an optional sign, at the start of the word.
std::optional<long long> LeadingInteger(std::string_view word);
// A real number (as strtod reads one) at the start of the word.
bool HasLeadingNumber(std::string_view word);

enum class RigVfoName {
  kOurs,     // currVFO, VFOA, Main, VFO: the radio's one VFO
  kMissing,  // a VFO the protocol knows and the radio does not have
  kUnknown,  // not a VFO name
};

RigVfoName ClassifyVfo(std::string_view name);
// The name as the protocol's server echoes it: itself, or "None" for a word
// that is not a VFO name.
std::string_view EchoedVfo(std::string_view name);

// The radio's VFO as the get commands name it.
constexpr std::string_view kRigVfo = "VFOA";
