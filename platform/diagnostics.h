#pragma once
// Lines for the operator about changes of state (the radio found or gone,
// follow mode failing or working again, the servers): on Linux, stderr; on
// Windows, the console the program was started from, or else ravolin.log in
// the working folder. A line that can't be written is dropped: writing it
// never disturbs the panel.

#include <string>

namespace platform {

// One line, without its line end.
void WriteDiagnostic(const std::string& line);

}  // namespace platform
