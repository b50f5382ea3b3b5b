// What the radio does: its frequency, its mode, its one VFO, and the sets
// that ask for what it already is (no transmitting, no split, its one
// tuning step, power on), which succeed.
#include <cstdio>

#include "serve/Crc32.h"
#include "serve/RigArguments.h"
#include "serve/RigCapabilities.h"
#include "serve/RigControl.h"
#include "serve/RigHandlers.h"

namespace rig {

namespace {

std::string Hz(std::int64_t hertz) { return std::to_string(hertz); }

// For a VFO named as an argument (not in VFO mode's first place).
RigReply CheckedVfo(std::string_view name) {
  switch (ClassifyVfo(name)) {
    case RigVfoName::kOurs: return RigReply::Ok();
    case RigVfoName::kMissing: return RigReply::Failure(kRigNotAvailable);
    case RigVfoName::kUnknown: break;
  }
  return RigReply::Failure(kRigInvalidArgument);
}

// The frequency, mode and passband as \get_vfo_info and \get_rig_info give
// them; nothing when the panel shows no frequency.
struct VfoState {
  std::int64_t hertz;
  std::string mode;
  int passband;
};

std::optional<VfoState> ReadVfo(const RigControl& rig) {
  const auto hertz = rig.Hertz();
  if (!hertz) return std::nullopt;
  return VfoState{*hertz, rig.ModeName(), rig.Passband()};
}

}  // namespace

bool OnTheRadiosVfo(const RigCall& call) { return ClassifyVfo(call.vfo) == RigVfoName::kOurs; }

bool AsksForList(const RigCall& call) { return call.arguments.size() == 1 && call.arguments.front() == "?"; }

RigReply SetFrequency(RigCall& call) {
  if (!HasLeadingNumber(call.arguments[0])) return RigReply::Failure(kRigInvalidArgument);
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Result(call.rig.Tune(call.arguments[0]));
}

RigReply GetFrequency(RigCall& call) {
  const auto hertz = call.rig.Hertz();
  if (!OnTheRadiosVfo(call) || !hertz) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok().Add("Frequency", Hz(*hertz));
}

RigReply SetMode(RigCall& call) {
  if (AsksForList(call)) return RigReply::Ok().Line(std::string(kRigModeList));
  const std::string_view passband = call.arguments.size() > 1 ? call.arguments[1] : "-1";
  if (!RigControl::ValidMode(call.arguments[0], passband)) return RigReply::Failure(kRigInvalidArgument);
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Result(call.rig.SetMode(call.arguments[0], passband));
}

RigReply GetMode(RigCall& call) {
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok().Add("Mode", call.rig.ModeName()).Add("Passband", std::to_string(call.rig.Passband()));
}

RigReply SetVfo(RigCall& call) {
  if (AsksForList(call)) return RigReply::Ok().Line(std::string(kRigVfoList));
  return CheckedVfo(call.arguments[0]);
}

RigReply GetVfo(RigCall&) { return RigReply::Ok().Add("VFO", std::string(kRigVfo)); }

// Receive (0) is what the radio always does; 1 to 3 would transmit.
RigReply SetPtt(RigCall& call) {
  const auto ptt = LeadingInteger(call.arguments[0]);
  if (!ptt || *ptt < 0 || *ptt > 3) return RigReply::Failure(kRigInvalidArgument);
  return RigReply::Result(*ptt == 0 && OnTheRadiosVfo(call) ? kRigOk : kRigNotAvailable);
}

RigReply GetPtt(RigCall& call) {
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok().Add("PTT", "0");
}

// Split off, transmitting on the one VFO, is what the radio is.
RigReply SetSplitVfo(RigCall& call) {
  const auto split = LeadingInteger(call.arguments[0]);
  if (!split) return RigReply::Failure(kRigInvalidArgument);
  if (call.arguments[1] == "?") return RigReply::Ok().Line(std::string(kRigVfoList));
  const RigReply transmitVfo = CheckedVfo(call.arguments[1]);
  if (transmitVfo.code == kRigInvalidArgument) return transmitVfo;
  const bool asIs = *split == 0 && transmitVfo.code == kRigOk && OnTheRadiosVfo(call);
  return RigReply::Result(asIs ? kRigOk : kRigNotAvailable);
}

RigReply GetSplitVfo(RigCall& call) {
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok().Add("Split", "0").Add("TX VFO", std::string(kRigVfo));
}

RigReply SetTuningStep(RigCall& call) {
  const auto step = LeadingInteger(call.arguments[0]);
  if (!step) return RigReply::Failure(kRigInvalidArgument);
  return RigReply::Result(*step == kRigTuningStepHz && OnTheRadiosVfo(call) ? kRigOk : kRigNotAvailable);
}

RigReply GetTuningStep(RigCall& call) {
  if (!OnTheRadiosVfo(call)) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok().Add("Tuning Step", std::to_string(kRigTuningStepHz));
}

// The panel cannot switch the radio off (0) or to standby (2).
RigReply SetPowerStat(RigCall& call) {
  const auto status = LeadingInteger(call.arguments[0]);
  if (!status) return RigReply::Failure(kRigInvalidArgument);
  return RigReply::Result(*status == 1 ? kRigOk : kRigNotAvailable);
}

RigReply GetPowerStat(RigCall&) { return RigReply::Ok().Add("Power Status", "1"); }

RigReply GetVfoInfo(RigCall& call) {
  if (AsksForList(call)) return RigReply::Ok().Line(std::string(kRigVfoList));
  if (RigReply vfo = CheckedVfo(call.arguments[0]); vfo.code != kRigOk) return vfo;
  const auto state = ReadVfo(call.rig);
  if (!state) return RigReply::Failure(kRigNotAvailable);
  return RigReply::Ok()
      .Add("Freq", Hz(state->hertz))
      .Add("Mode", state->mode)
      .Add("Width", std::to_string(state->passband))
      .Add("Split", "0")
      .Add("SatMode", "0");
}

// Both VFO lines of the layout, the second for the VFO the radio does not
// have; a CRC-32 of the lines before it; an empty line after.
RigReply GetRigInfo(RigCall& call) {
  const auto state = ReadVfo(call.rig);
  if (!state) return RigReply::Failure(kRigNotAvailable);
  std::string info = "VFO=" + std::string(kRigVfo) + " Freq=" + Hz(state->hertz) + " Mode=" + state->mode +
                     " Width=" + std::to_string(state->passband) + " RX=1 TX=1\n";
  info += "VFO=VFOB Freq=0 Mode=None Width=0 RX=0 TX=0\n";
  info += "Split=0 SatMode=0\nRig=" + std::string(kRigModelName) + "\nApp=" + std::string(kRigModelName) +
          "\nVersion=20210506 1.0.0\n";
  char crc[32];
  std::snprintf(crc, sizeof crc, "CRC=0x%08x\n", static_cast<unsigned>(Crc32(info)));
  return RigReply::Ok().Block(info + crc).Line("");
}

RigReply GetVfoList(RigCall&) { return RigReply::Ok().Add("VFOs", std::string(kRigVfoList)); }

RigReply GetModes(RigCall&) {
  RigReply reply = RigReply::Ok().Add("Modes", std::string(kRigModeNames));
  return reply.Line("Bandwidths:").Block(BandwidthLines());
}

RigReply GetModeBandwidths(RigCall& call) {
  const auto passband = PassbandOf(call.arguments[0]);
  if (!passband) return RigReply::Ok();  // a mode the radio does not have: nothing to tell
  return RigReply::Ok()
      .Line("Mode=" + std::string(call.arguments[0]))
      .Line("Normal=" + std::to_string(*passband) + "Hz")
      .Line("Narrow=0Hz")
      .Line("Wide=0Hz");
}

}  // namespace rig
