#include "serve/RigCapabilities.h"

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

std::string BuildDumpState() {
  std::string text;
  text += "0\n";  // protocol version: the rows below, without key=value pairs
  text += "2\n";  // model: the network client's own
  text += "0\n";  // ITU region: not stated
  // Receive ranges: start and end in Hz, modes, low and high power (none:
  // -1), VFOs (VFOA), antennas (none); 1.0 to 99999.9 kHz, the keypad's.
  text += Row({"1000.000000", "99999900.000000", kModesAll, "-1", "-1", "0x1", "0x0"});
  text += "0 0 0 0 0 0 0\n";  // end of receive ranges
  text += "0 0 0 0 0 0 0\n";  // no transmit ranges
  text += Row({kModesAll, "100"}) + "0 0\n";  // tuning steps
  text += Row({kModeAm, std::to_string(kAmPassbandHz)});  // filters
  text += Row({kModeSsb, std::to_string(kSsbPassbandHz)});
  text += "0 0\n";
  text += "0\n0\n0\n";  // largest RIT, XIT and IF shift: none
  text += "0\n";        // announcements: none
  text += "\n\n";       // preamplifier and attenuator steps: none
  // Functions, levels and parameters that can be read and set: none.
  text += "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n";
  return text;
}

}  // namespace

const std::string& DumpStateText() {
  static const std::string text = BuildDumpState();
  return text;
}
