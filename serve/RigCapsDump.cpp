// \dump_caps: the radio's capabilities in the layout of the protocol's own
// server, which clients parse line by line ("Can get VFO:", "Can set Power
// Stat:", "Mode list:"): every line that server writes, in its order, with
// this radio's values. "Y" marks what the port answers from the radio, "N"
// what it refuses; a set that only asks for what the radio already is (PTT
// off, split off, power on) succeeds, but the radio cannot be set to
// anything else, so those are "N".
#include <string>

#include "serve/RigCapabilities.h"

namespace {

std::string Ranges() {
  std::string text;
  const std::string none = "TBD";
  text += "TX ranges #1 for " + none + ":\n";
  text += "RX ranges #1 for " + std::string(kRigModelName) + ":\n";
  text += "\t1000 Hz - 99999900 Hz\n";
  text += "\t\tVFO list: " + std::string(kRigVfoList) + "\n";
  text += "\t\tMode list: " + std::string(kRigModeList) + "\n";
  text += "\t\tAntenna list: \n";
  for (int list = 2; list <= 5; ++list) {
    text += "TX ranges #" + std::to_string(list) + " for " + none + ":\n";
    text += "RX ranges #" + std::to_string(list) + " for " + none + ":\n";
  }
  for (int list = 1; list <= 5; ++list) {
    const std::string rx = list == 1 ? std::string(kRigModelName) : none;
    text += "TX ranges #" + std::to_string(list) + " status for " + none + ":\tOK (0)\n";
    text += "RX ranges #" + std::to_string(list) + " status for " + rx + ":\tOK (0)\n";
  }
  return text;
}

std::string Abilities() {
  struct Ability {
    const char* name;
    bool has;
  };
  static constexpr Ability kAbilities[] = {
      {"Has priv data", false},
      {"Has Init", true},
      {"Has Cleanup", true},
      {"Has Open", true},
      {"Has Close", true},
      {"Can set Conf", false},
      {"Can get Conf", false},
      {"Can set Frequency", true},
      {"Can get Frequency", true},
      {"Can set Mode", true},
      {"Can get Mode", true},
      {"Can set VFO", true},
      {"Can get VFO", true},
      {"Can set PTT", false},
      {"Can get PTT", true},
      {"Can get DCD", false},
      {"Can set Repeater Duplex", false},
      {"Can get Repeater Duplex", false},
      {"Can set Repeater Offset", false},
      {"Can get Repeater Offset", false},
      {"Can set Split Freq", false},
      {"Can get Split Freq", false},
      {"Can set Split Mode", false},
      {"Can get Split Mode", false},
      {"Can set Split VFO", false},
      {"Can get Split VFO", true},
      {"Can set Tuning Step", false},
      {"Can get Tuning Step", true},
      {"Can set RIT", false},
      {"Can get RIT", false},
      {"Can set XIT", false},
      {"Can get XIT", false},
      {"Can set CTCSS", false},
      {"Can get CTCSS", false},
      {"Can set DCS", false},
      {"Can get DCS", false},
      {"Can set CTCSS Squelch", false},
      {"Can get CTCSS Squelch", false},
      {"Can set DCS Squelch", false},
      {"Can get DCS Squelch", false},
      {"Can set Power Stat", false},
      {"Can get Power Stat", true},
      {"Can Reset", false},
      {"Can get Ant", false},
      {"Can set Ant", false},
      {"Can set Transceive", false},
      {"Can get Transceive", false},
      {"Can set Func", false},
      {"Can get Func", false},
      {"Can set Level", false},
      {"Can get Level", false},
      {"Can set Param", false},
      {"Can get Param", false},
      {"Can send DTMF", false},
      {"Can recv DTMF", false},
      {"Can send Morse", false},
      {"Can send Voice", false},
      {"Can decode Events", false},
      {"Can set Bank", false},
      {"Can set Mem", false},
      {"Can get Mem", false},
      {"Can set Channel", false},
      {"Can get Channel", false},
      {"Can ctl Mem/VFO", false},
      {"Can Scan", false},
      {"Can get Info", false},
      {"Can get power2mW", false},
      {"Can get mW2power", false},
  };
  std::string text;
  for (const Ability& ability : kAbilities)
    text += std::string(ability.name) + ":\t" + (ability.has ? "Y" : "N") + "\n";
  return text;
}

std::string BuildCaps() {
  const std::string name(kRigModelName);
  std::string text;
  text += "Caps dump for model: 2\n";
  text += "Model name:\t" + name + "\n";
  text += "Mfg name:\t" + name + "\n";
  text += "Backend version:\t3.0\n";
  text += "Backend copyright:\t" + name + " authors\n";
  text += "Backend status:\tStable\n";
  text += "Rig type:\tOther Receiver \n";  // the layout names the general type before the flags
  text += "PTT type:\tNone\n";
  text += "DCD type:\tNone\n";
  text += "Port type:\tUSB\n";
  text += "Write delay: 0mS, timeout 2000mS, 0 retry\n";
  text += "Post Write delay: 0mS\n";
  text += "Has targetable VFO: N\n";
  text += "Has async data support: N\n";
  text += "Announce: 0x0\n";
  text += "Max RIT: -0.0kHz/+0.0kHz\n";
  text += "Max XIT: -0.0kHz/+0.0kHz\n";
  text += "Max IF-SHIFT: -0.0kHz/+0.0kHz\n";
  text += "Preamp: None\n";
  text += "Attenuator: None\n";
  text += "AGC levels:\n\n";  // the line, then the line of levels: none
  text += "CTCSS: None\n";
  text += "DCS: None\n";
  text += "Get functions: \nSet functions: \nExtra functions:\n";
  text += "Get level: \nSet level: \nExtra levels:\n";
  text += "Get parameters: \nSet parameters: \nExtra parameters:\n";
  text += "Mode list: " + std::string(kRigModeList) + "\n";
  text += "VFO list: " + std::string(kRigVfoList) + "\n";
  text += "VFO Ops: \nScan Ops: \n";
  text += "Number of banks:\t0\nMemory name desc size:\t0\nMemories: None\n";
  text += Ranges();
  text += "Tuning steps:\n\t" + FrequencyText(kRigTuningStepHz) + ":   \t" + std::string(kRigModeList) + "\n";
  text += "Tuning steps status:\tOK (0)\n";
  text += "Filters:\n";
  text += "\t" + FrequencyText(kAmPassbandHz) + ":   \tAM \n";
  text += "\t" + FrequencyText(kSsbPassbandHz) + ":   \tUSB LSB \n";
  text += "Bandwidths:\n" + BandwidthLines();
  text += "Spectrum scopes: None\nSpectrum modes: \nSpectrum spans: \nSpectrum averaging modes: \n";
  text += "Spectrum attenuator: None\n";
  text += Abilities();
  text += "\nOverall backend warnings: 0   \n";
  return text;
}

}  // namespace

const std::string& DumpCapsText() {
  static const std::string text = BuildCaps();
  return text;
}
