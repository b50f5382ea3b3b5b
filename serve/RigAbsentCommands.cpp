// What the radio does not have: split, RIT and XIT, tones, levels,
// functions, parameters, memories, antennas, DTMF, Morse, voice, scanning,
// power conversions. Each checks its arguments as the protocol's server
// does (a number where it reads one, a known name where it looks one up),
// answering -1 for one that fails, then -11. The lists "?" asks for are
// empty, except those of the radio's modes and VFO.
#include <algorithm>
#include <iterator>

#include "serve/RigArguments.h"
#include "serve/RigCapabilities.h"
#include "serve/RigHandlers.h"

namespace rig {

namespace {

bool IsInteger(std::string_view word) { return LeadingInteger(word).has_value(); }

RigReply EmptyList() { return RigReply::Ok().Line(""); }

constexpr std::string_view kVfoOperations[] = {"CPY",       "XCHG", "FROM_VFO", "TO_VFO", "MCL",    "UP",     "DOWN",
                                               "BAND_DOWN", "LEFT", "RIGHT",    "TUNE",   "TOGGLE", "BAND_UP"};

}  // namespace

RigReply MissingAfterChecks(std::initializer_list<bool> argumentsValid) {
  const bool valid = std::all_of(argumentsValid.begin(), argumentsValid.end(), [](bool ok) { return ok; });
  return RigReply::Failure(valid ? kRigNotAvailable : kRigInvalidArgument);
}

RigReply Missing(RigCall&) { return RigReply::Failure(kRigNotAvailable); }

RigReply MissingIntegers(RigCall& call) {
  return MissingAfterChecks({std::all_of(call.arguments.begin(), call.arguments.end(), IsInteger)});
}

RigReply MissingFrequency(RigCall& call) { return MissingAfterChecks({HasLeadingNumber(call.arguments[0])}); }

RigReply PowerToMilliwatts(RigCall& call) {
  return MissingAfterChecks({HasLeadingNumber(call.arguments[0]), HasLeadingNumber(call.arguments[1])});
}

RigReply MilliwattsToPower(RigCall& call) {
  return MissingAfterChecks({IsInteger(call.arguments[0]), HasLeadingNumber(call.arguments[1])});
}

RigReply SetSplitMode(RigCall& call) {
  if (AsksForList(call)) return RigReply::Ok().Line(std::string(kRigModeList));
  return MissingAfterChecks({IsInteger(call.arguments[1])});
}

RigReply SetSplitFreqMode(RigCall& call) {
  if (AsksForList(call)) return RigReply::Ok().Line(std::string(kRigModeList));
  return MissingAfterChecks({HasLeadingNumber(call.arguments[0]), IsInteger(call.arguments[2])});
}

// No level or function to set: the value is not even read.
RigReply SetLevelOrFunc(RigCall& call) { return AsksForList(call) ? EmptyList() : Missing(call); }

// Reading one the radio does not have is an invalid argument.
RigReply GetLevelFuncOrParm(RigCall& call) {
  return AsksForList(call) ? EmptyList() : RigReply::Failure(kRigInvalidArgument);
}

RigReply SetParm(RigCall& call) { return GetLevelFuncOrParm(call); }

RigReply VfoOperation(RigCall& call) {
  if (AsksForList(call)) return EmptyList();
  const bool known =
      std::find(std::begin(kVfoOperations), std::end(kVfoOperations), call.arguments[0]) != std::end(kVfoOperations);
  return MissingAfterChecks({known});
}

RigReply Scan(RigCall& call) {
  return AsksForList(call) ? EmptyList() : MissingAfterChecks({IsInteger(call.arguments[1])});
}

// A channel number or a VFO name (a word starting with a digit is a number
// either way), and the read-only flag.
RigReply GetChannel(RigCall& call) { return MissingAfterChecks({IsInteger(call.arguments[1])}); }

}  // namespace rig
