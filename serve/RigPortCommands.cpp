// What the port answers of itself rather than of the radio: the VFO mode of
// a client, the capability texts, the mode lock, and the settings of the
// protocol's server that this port does not have.
#include <cctype>
#include <cstdio>
#include <string>

#include "serve/RigArguments.h"
#include "serve/RigCapabilities.h"
#include "serve/RigControl.h"
#include "serve/RigHandlers.h"

namespace rig {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool SignAt(std::string_view text, std::size_t at) { return at < text.size() && (text[at] == '+' || text[at] == '-'); }

}  // namespace

RigReply CheckVfo(RigCall& call) {
  call.client.checkedVfo = true;
  return RigReply::Ok().Add("ChkVFO", call.client.vfoMode ? "1" : "0");
}

RigReply SetVfoOption(RigCall& call) {
  const auto option = LeadingInteger(call.arguments[0]);
  if (!option) return RigReply::Failure(kRigInvalidArgument);
  call.client.vfoMode = *option != 0;
  return RigReply::Ok();
}

RigReply DumpState(RigCall& call) { return RigReply::Ok().Block(DumpStateText(call.client.checkedVfo)); }

RigReply DumpCaps(RigCall&) { return RigReply::Ok().Block(DumpCapsText()); }

RigReply DumpConf(RigCall&) { return RigReply::Ok().Line("model: " + std::string(kRigModelName)); }

RigReply GetInfo(RigCall&) { return RigReply::Ok().Add("Info", "None"); }

RigReply SetLockMode(RigCall& call) {
  const auto locked = LeadingInteger(call.arguments[0]);
  if (!locked) return RigReply::Failure(kRigInvalidArgument);
  call.rig.LockMode(*locked != 0);
  return RigReply::Ok();
}

RigReply GetLockMode(RigCall& call) { return RigReply::Ok().Add("Locked", call.rig.ModeLocked() ? "1" : "0"); }

// Kept for \get_separator; the answers' own separators come from the prefix
// of each command.
RigReply SetSeparator(RigCall& call) {
  call.client.separator = call.arguments[0].front();
  return RigReply::Ok();
}

RigReply GetSeparator(RigCall& call) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(static_cast<unsigned char>(call.client.separator)));
  return RigReply::Ok().Add("Separator", text);
}

// The port has no knob-twiddling pause, no answer cache and no uplink VFO:
// 0, off, is taken; anything else it cannot do.
RigReply SetOnlyOff(RigCall& call) {
  const auto value = LeadingInteger(call.arguments[0]);
  if (!value) return RigReply::Failure(kRigInvalidArgument);
  return RigReply::Result(*value == 0 ? kRigOk : kRigNotAvailable);
}

RigReply GetTwiddle(RigCall&) { return RigReply::Ok().Add("Timeout (secs)", "0"); }

RigReply GetCache(RigCall&) { return RigReply::Ok().Add("Timeout (msecs)", "0"); }

// The radio has no clock. A time is checked as the protocol's server checks
// it: "local", "utc", or ISO 8601 with a UTC offset after the minutes,
// seconds or milliseconds.
RigReply SetClock(RigCall& call) {
  const std::string_view time = call.arguments[0];
  const bool valid = EqualsIgnoringCase(time, "local") || EqualsIgnoringCase(time, "utc") || SignAt(time, 16) ||
                     SignAt(time, 19) || SignAt(time, 23);
  return RigReply::Failure(valid ? kRigNotImplemented : kRigInvalidArgument);
}

RigReply Unimplemented(RigCall&) { return RigReply::Failure(kRigNotImplemented); }

RigReply Deprecated(RigCall&) { return RigReply::Failure(kRigDeprecated); }

RigReply Quit(RigCall&) { return RigReply::Ok(); }

}  // namespace rig
