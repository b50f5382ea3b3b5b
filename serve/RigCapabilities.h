#pragma once
// What the rig-control port tells its clients about the radio: a receiver
// with one VFO, AM and SSB (offered as USB and LSB), tuned in 100 Hz steps
// over what the keypad can enter, with fixed passbands, no transmitter, no
// functions, levels or parameters.

#include <string>

constexpr int kAmPassbandHz = 6000;
constexpr int kSsbPassbandHz = 2700;

// The answer to \dump_state, one row per line, each ended by LF.
const std::string& DumpStateText();
