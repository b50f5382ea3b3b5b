#include "serve/RigCapabilities.h"

#include <cstdio>
#include <initializer_list>

namespace {

// Mode bits as the client library numbers them.
constexpr const char* kModeAm = "0x1";
constexpr const char* kModeSsb = "0xc";  // USB | LSB
constexpr const char* kModesAll = "0xd";

std::string Row(std::initializer_list<std::string> values) {
  std::string row;
  for (const std::string& value : values) row += (row.empty() ? "" : " ") + value;
  return row + "\n";
}

std::string BuildRows() {
  std::string text;
  text += "1\n";  // protocol version: these rows, then the settings when the client checked the VFO mode
  text += "2\n";  // model: the network client's own
  text += "0\n";  // ITU region: not stated
  // Receive ranges: start and end in Hz, modes, low and high power (none:
  // -1), VFOs (VFOA), antennas (none); 1.0 to 99999.9 kHz, the keypad's.
  text += Row({"1000.000000", "99999900.000000", kModesAll, "-1", "-1", "0x1", "0x0"});
  text += "0 0 0 0 0 0 0\n";                                             // end of receive ranges
  text += "0 0 0 0 0 0 0\n";                                             // no transmit ranges
  text += Row({kModesAll, std::to_string(kRigTuningStepHz)}) + "0 0\n";  // tuning steps
  text += Row({kModeAm, std::to_string(kAmPassbandHz)});                 // filters
  text += Row({kModeSsb, std::to_string(kSsbPassbandHz)});
  text += "0 0\n";
  text += "0\n0\n0\n";  // largest RIT, XIT and IF shift: none
  text += "0\n";        // announcements: none
  text += "\n\n";       // preamplifier and attenuator steps: none
  // Functions, levels and parameters that can be read and set: none.
  text += "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n";
  return text;
}

// What the client takes from these: no VFO operations, no PTT, nothing
// addressed to a VFO other than the current one; the VFO and frequency can
// be read and set; no configuration and no power conversions. The timeout
// (the client waits this plus half a second for an answer) covers a set,
// whose keypad presses exchange packets with the radio.
constexpr const char* kSettings =
    "vfo_ops=0x0\n"
    "ptt_type=0x0\n"
    "targetable_vfo=0x0\n"
    "has_set_vfo=1\n"
    "has_get_vfo=1\n"
    "has_set_freq=1\n"
    "has_get_freq=1\n"
    "has_set_conf=0\n"
    "has_get_conf=0\n"
    "has_power2mW=0\n"
    "has_mW2power=0\n"
    "timeout=2000\n"
    "rig_model=2\n"
    "rigctld_version=ravolin 3.0\n"
    "done\n";

}  // namespace

std::optional<int> PassbandOf(std::string_view mode) {
  if (mode == "AM") return kAmPassbandHz;
  if (mode == "USB" || mode == "LSB") return kSsbPassbandHz;
  return std::nullopt;
}

std::string FrequencyText(long long hertz) {
  char text[32];
  if (hertz >= 1000000) {
    std::snprintf(text, sizeof text, "%.7f MHz", static_cast<double>(hertz) / 1e6);
  } else if (hertz >= 1000) {
    std::snprintf(text, sizeof text, "%.4f kHz", static_cast<double>(hertz) / 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.1f Hz", static_cast<double>(hertz));
  }
  return text;
}

std::string BandwidthLines() {
  std::string lines;
  for (std::string_view mode : {"AM", "USB", "LSB"}) {
    lines += "\t" + std::string(mode) + "\tNormal: " + FrequencyText(*PassbandOf(mode)) +
             ",\tNarrow: " + FrequencyText(0) + ",\tWide: " + FrequencyText(0) + "\n";
  }
  return lines;
}

std::string DumpStateText(bool withSettings) {
  static const std::string rows = BuildRows();
  return withSettings ? rows + kSettings : rows;
}
