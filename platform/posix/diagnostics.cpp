// On Linux the operator's lines go to stderr: a terminal, or the session's
// log when the panel was started from the desktop menu.

#include "platform/diagnostics.h"

#include <cstdio>

namespace platform {

void WriteDiagnostic(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace platform
