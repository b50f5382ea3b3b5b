#pragma once
// Frequencies in hertz against the panel's kilohertz and tenths digits:
// hertz = kilohertz * 1000 + tenths * 100.

#include <cstdint>
#include <optional>
#include <string_view>

#include "serve/PanelControl.h"

struct PanelFrequency {
  std::int32_t kilohertz;  // 1 to 99999: what one to five keyed digits hold
  int tenths;              // 0 to 9
};

// A client's frequency in hertz ("7050000", "7050000.000000", "7.05e6"),
// rounded to the nearest 100 Hz, half way up. Nothing for a text that is not
// a number, and for a frequency the keypad cannot enter: below 1 kHz, or
// more than five kilohertz digits.
std::optional<PanelFrequency> PanelFrequencyFromHertz(std::string_view text);

// The frequency the panel shows: Edit1 read as the frequency sender reads
// it, and the tenths the track bar last sent. Nothing when Edit1 is not a
// whole number of kilohertz from 0 up (a follow file can put anything there).
std::optional<std::int64_t> HertzShown(const PanelSnapshot& panel);
