#pragma once
// The rig-control protocol, one command line at a time: a command in its
// short form ("f") or long form ("\get_freq"), blanks, and its arguments.
// Get commands answer their values one per line; set commands answer
// "RPRT 0", or "RPRT -n" on failure: -1 an invalid argument, a wrong number
// of them, or a frequency the keypad cannot enter; -4 a command this port
// does not implement; -7 a panel handler that raised; -8 a line over the
// length cap; -11 a VFO the radio does not have, or no frequency to report
// (the panel shows no number). Every line is ended by LF.
//
// One object serves every client of a port: it holds the name the port
// gives the panel's SSB mode, which is the radio's, not a client's.

#include <string>
#include <string_view>

#include "serve/PanelControl.h"

struct RigAnswer {
  std::string text;    // the bytes to send, possibly empty
  bool close = false;  // the client asked to quit: close after sending text
};

class RigControl {
public:
  explicit RigControl(PanelControl& panel) : panel_(panel) {}

  // Answers one line, without its line end. A line of blanks is no command
  // and gets no answer.
  RigAnswer Answer(std::string_view line);

  // The answer to a line that passed the length cap.
  static std::string OverlongAnswer();

private:
  struct Command;
  static const Command* Find(std::string_view name);

  std::string GetFrequency();
  std::string SetFrequency(std::string_view hertz);
  std::string GetMode();
  std::string SetMode(std::string_view mode, std::string_view passband);
  std::string SetVfo(std::string_view vfo);

  PanelControl& panel_;
  // SSB is reported under the sideband a client last set, USB at first:
  // the radio has one SSB mode, and a client that set LSB reads LSB back.
  std::string sideband_ = "USB";
};
