#include "SimLog.h"

#include <cstdio>

namespace sim {

void WriteLogLine(const std::string& destination, const std::string& line) {
  if (destination.empty()) return;
  if (destination == "-" || destination == "stderr") {
    std::fprintf(stderr, "%s\n", line.c_str());
    return;
  }
  // Opened per line: a test may remove or truncate the file between runs,
  // and several processes may share one log.
  std::FILE* file = std::fopen(destination.c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

std::string HexBytes(const unsigned char* data, unsigned length) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned i = 0; i < length; ++i) {
    if (i != 0) text += ' ';
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0x0F];
  }
  return text;
}

}  // namespace sim
