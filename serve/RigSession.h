#pragma once
// One client of the rig-control port: the bytes it sends in, the answers to
// send back out, and what the client set for itself (its VFO mode). Every
// command line gets its answer in order, an empty line none; after "q" the
// session answers nothing more.

#include <string>
#include <string_view>

#include "serve/CommandLines.h"
#include "serve/RigControl.h"

class RigSession {
public:
  // rig must outlive the session.
  explicit RigSession(RigControl& rig) : rig_(rig) {}

  // Takes bytes as they arrive, in any pieces; returns what to send now.
  std::string Receive(std::string_view bytes);

  // The client asked to quit: send what Receive returned, then close.
  bool Closing() const { return lines_.Stopped(); }

  // Bytes of a line not yet complete.
  std::size_t Pending() const { return lines_.Pending(); }

private:
  RigControl& rig_;
  RigClient client_;
  CommandLines lines_;
};
