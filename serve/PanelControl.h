#pragma once
// What the servers see of the front panel: they read its state and set it,
// always on the user-interface thread. Every set runs the panel's own
// handlers, so its packets, EntryCount and follow mode behave exactly as
// after the operator's clicks.

#include <cstdint>
#include <string>

struct PanelSnapshot {
  std::string edit1;  // kilohertz text, as shown
  std::string edit2;  // tenths text, as shown
  int trackBar = 0;   // tenths position 0 to 9, the digit last sent to the radio
  bool ssb = true;    // ModeIsSsb
  bool arx = false;   // ArxOn
};

class PanelControl {
public:
  virtual ~PanelControl() = default;

  virtual PanelSnapshot Read() const = 0;

  // Keys a frequency of one to five kilohertz digits and a tenths digit,
  // then presses SET. False when a handler raised (the error has been
  // reported); the panel may then be part way through.
  virtual bool Tune(std::int32_t kilohertz, int tenths) = 0;

  // Presses SSB (true) or AM (false). False when the handler raised.
  virtual bool SetMode(bool ssb) = 0;
};
