#pragma once
// The rig-control protocol, one command line at a time: a command in its
// short form ("f") or long form ("\get_freq"), blanks, and its arguments,
// optionally after a punctuation character that asks for the extended
// answer (RigRequest.h). Get commands answer their values one per line; set
// commands answer "RPRT 0", or "RPRT -n" on failure (RigReply.h has the
// codes). Every line is ended by LF. The commands and what each answers are
// in RigCommandTable.cpp.
//
// One object serves every client of a port and holds what belongs to the
// radio rather than to a client: the name the port gives the panel's SSB
// mode, and the mode lock. What belongs to one client (VFO mode, ...) is
// its RigClient.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "serve/PanelControl.h"
#include "serve/RigCommand.h"

struct RigAnswer {
  std::string text;    // the bytes to send, possibly empty
  bool close = false;  // the client asked to quit: close after sending text
};

class RigControl {
public:
  explicit RigControl(PanelControl& panel) : panel_(panel) {}

  // Answers one line, without its line end. A line of blanks or a comment
  // ("#...") is no command and gets no answer.
  RigAnswer Answer(std::string_view line, RigClient& client);

  // The answer to a line that passed the length cap.
  static std::string OverlongAnswer();

  // --- for the command handlers ---
  // The frequency the panel shows, in Hz; nothing when it shows no number.
  std::optional<std::int64_t> Hertz() const;
  // Keys the frequency (a client's text, in Hz); a result code.
  int Tune(std::string_view hertz);
  // "AM", "USB" or "LSB", and the passband of the mode in Hz.
  std::string ModeName() const;
  int Passband() const;
  // A mode the radio has ("AM", "USB", "LSB" or "SSB") and a passband in
  // Hz ("-1" no change, "0" the default), which the fixed filters ignore.
  static bool ValidMode(std::string_view mode, std::string_view passband);
  // Presses the mode's button; a result code. While the mode is locked a
  // valid mode is taken and nothing is pressed.
  int SetMode(std::string_view mode, std::string_view passband);
  bool ModeLocked() const { return modeLocked_; }
  void LockMode(bool locked);

private:
  PanelControl& panel_;
  // SSB is reported under the sideband a client last set, USB at first:
  // the radio has one SSB mode, and a client that set LSB reads LSB back.
  std::string sideband_ = "USB";
  bool modeLocked_ = false;
};
