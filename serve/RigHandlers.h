#pragma once
// The handlers of the rig-control command table, in three groups: what the
// radio does (RigTuningCommands.cpp), what the port itself answers
// (RigPortCommands.cpp), and what the radio does not have
// (RigAbsentCommands.cpp), which checks its arguments as the protocol's
// server does and then answers "not available".

#include <initializer_list>

#include "serve/RigCommand.h"

namespace rig {

// The VFO the call names is the radio's one (always so outside VFO mode).
bool OnTheRadiosVfo(const RigCall& call);
// The call's one argument is the "?" that asks for a list.
bool AsksForList(const RigCall& call);
// -1 unless every argument check passed, then -11.
RigReply MissingAfterChecks(std::initializer_list<bool> argumentsValid);

// What the radio does.
RigReply SetFrequency(RigCall& call);
RigReply GetFrequency(RigCall& call);
RigReply SetMode(RigCall& call);
RigReply GetMode(RigCall& call);
RigReply SetVfo(RigCall& call);
RigReply GetVfo(RigCall& call);
RigReply SetPtt(RigCall& call);
RigReply GetPtt(RigCall& call);
RigReply SetSplitVfo(RigCall& call);
RigReply GetSplitVfo(RigCall& call);
RigReply SetTuningStep(RigCall& call);
RigReply GetTuningStep(RigCall& call);
RigReply SetPowerStat(RigCall& call);
RigReply GetPowerStat(RigCall& call);
RigReply GetVfoInfo(RigCall& call);
RigReply GetRigInfo(RigCall& call);
RigReply GetVfoList(RigCall& call);
RigReply GetModes(RigCall& call);
RigReply GetModeBandwidths(RigCall& call);

// What the port answers of itself.
RigReply CheckVfo(RigCall& call);
RigReply SetVfoOption(RigCall& call);
RigReply DumpState(RigCall& call);
RigReply DumpCaps(RigCall& call);
RigReply DumpConf(RigCall& call);
RigReply GetInfo(RigCall& call);
RigReply SetLockMode(RigCall& call);
RigReply GetLockMode(RigCall& call);
RigReply SetSeparator(RigCall& call);
RigReply GetSeparator(RigCall& call);
RigReply SetOnlyOff(RigCall& call);  // twiddle, cache, uplink: 0 (off) is what the port does
RigReply GetTwiddle(RigCall& call);
RigReply GetCache(RigCall& call);
RigReply SetClock(RigCall& call);
RigReply Unimplemented(RigCall& call);  // the clock
RigReply Deprecated(RigCall& call);     // transceive
RigReply Quit(RigCall& call);

// What the radio does not have.
RigReply Missing(RigCall& call);            // no argument to check
RigReply MissingIntegers(RigCall& call);    // every argument an integer
RigReply MissingFrequency(RigCall& call);   // one real number
RigReply PowerToMilliwatts(RigCall& call);  // a real power and frequency (and a mode)
RigReply MilliwattsToPower(RigCall& call);  // integer milliwatts, a frequency (and a mode)
RigReply SetSplitMode(RigCall& call);
RigReply SetSplitFreqMode(RigCall& call);
RigReply SetLevelOrFunc(RigCall& call);      // L, U: none to set
RigReply GetLevelFuncOrParm(RigCall& call);  // l, u, p: none to read
RigReply SetParm(RigCall& call);
RigReply VfoOperation(RigCall& call);
RigReply Scan(RigCall& call);
RigReply GetChannel(RigCall& call);

}  // namespace rig
