#pragma once
// The simulator's log: one line per event, appended and flushed at once so
// that a reader sees each packet as soon as the call that carried it returns.

#include <string>

namespace sim {

// destination: empty for no log, "-" or "stderr" for standard error,
// anything else is a file name to append to.
void WriteLogLine(const std::string& destination, const std::string& line);

// "01 28 D7 7A B2"
std::string HexBytes(const unsigned char* data, unsigned length);

}  // namespace sim
