#pragma once
// What the rig-control port tells its clients about the radio: a receiver
// with one VFO, AM and SSB (offered as USB and LSB), tuned in 100 Hz steps
// over what the keypad can enter (1 kHz to 99,999.9 kHz), with fixed
// passbands, no transmitter, no functions, levels, parameters or memories.

#include <optional>
#include <string>
#include <string_view>

constexpr int kAmPassbandHz = 6000;
constexpr int kSsbPassbandHz = 2700;
constexpr int kRigTuningStepHz = 100;

// The radio as \dump_caps, \dump_conf and \get_rig_info name it.
constexpr std::string_view kRigModelName = "Ravolin";
// The modes, as \get_modes names them, and as the lists of "M ?" and the
// capability dump write them (each name followed by a blank).
constexpr std::string_view kRigModeNames = "AM USB LSB";
constexpr std::string_view kRigModeList = "AM USB LSB ";
constexpr std::string_view kRigVfoList = "VFOA ";

// The passband of a mode the radio has, by its name ("AM", "USB", "LSB").
std::optional<int> PassbandOf(std::string_view mode);

// A frequency as the capability texts write one: "100.0 Hz", "2.7000 kHz".
std::string FrequencyText(long long hertz);

// The "Bandwidths:" lines of \get_modes and \dump_caps, each ended by LF:
// "\tAM\tNormal: 6.0000 kHz,\tNarrow: 0.0 Hz,\tWide: 0.0 Hz".
std::string BandwidthLines();

// The answer to \dump_state, one row per line, each ended by LF; with the
// "key=value" settings and "done" after the rows for a client that asked
// \chk_vfo first (older clients read the rows alone).
std::string DumpStateText(bool withSettings);

// The answer to \dump_caps, in the layout of the protocol's own server.
const std::string& DumpCapsText();
