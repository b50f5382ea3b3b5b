#pragma once
// The rig-control command table: each command the protocol knows, as data
// (its names, the arguments it takes, how its answer is written) and the
// small handler that answers it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "serve/RigReply.h"

class RigControl;

// What one client of the port has set for itself.
struct RigClient {
  bool vfoMode = false;     // commands that take a VFO carry one first
  bool checkedVfo = false;  // it asked \chk_vfo: \dump_state adds its settings
  char separator = '\n';    // what \set_separator set; \get_separator reports it
};

// One command as a handler sees it.
struct RigCall {
  RigControl& rig;
  RigClient& client;
  std::string_view vfo;                     // the VFO argument in VFO mode, else "currVFO"
  std::vector<std::string_view> arguments;  // the arguments after the VFO
};

using RigHandler = RigReply (*)(RigCall& call);

enum RigCommandFlags : unsigned {
  kTakesVfo = 1,       // in VFO mode its first argument is a VFO
  kAnswersValues = 2,  // the plain form of a success is the values alone, without "RPRT 0"
  kWholeLine = 4,      // its one argument is the rest of the line, blanks included
  kTrimsOneBlank = 8,  // ... less the blank that separates it from the command
  kQuits = 16,         // "RPRT 0", then the connection closes
  kLabelledOnly = 32,  // the extended form is the labelled values alone (\chk_vfo)
  kListsOnQuery = 64,  // "?" alone, in place of its arguments, asks for a list
};

struct RigCommand {
  char shortName;         // 0: the long name alone
  std::string_view name;  // the long name, without its backslash
  std::uint8_t fewest;    // arguments after the VFO
  std::uint8_t most;
  unsigned flags;
  RigHandler run;
};

// The command a line's first word names: one character, or "\" and a long
// name. Nothing for a word that names none.
const RigCommand* FindRigCommand(std::string_view word);

// Every command, in the protocol's order.
const std::vector<RigCommand>& RigCommands();
