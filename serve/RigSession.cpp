#include "serve/RigSession.h"

std::string RigSession::Receive(std::string_view bytes) {
  std::string out;
  lines_.Feed(
      bytes,
      [&](std::string_view line) {
        RigAnswer answer = rig_.Answer(line, client_);
        out += answer.text;
        if (answer.close) lines_.Stop();
      },
      [&] { out += RigControl::OverlongAnswer(); });
  return out;
}
