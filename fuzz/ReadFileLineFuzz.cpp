// The line reader on arbitrary file contents, against a model of its reading
// rules: text mode, 127-character buffer, the end of the file or an
// overlong line freezing the buffer for the rest of the call.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "panel/ReadFileLine.h"

namespace {

std::string Model(const std::string& raw, int index) {
  std::string content;  // text mode: CR LF reads as LF
  for (std::size_t i = 0; i < raw.size(); ++i)
    if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) content += raw[i];
  const int reads = index >= 0 && index <= 2 ? index + 1 : 4;
  std::string buffer;
  std::size_t at = 0;
  bool stopped = false;
  for (int r = 0; r < reads; ++r) {
    if (stopped) continue;
    if (at >= content.size()) {
      buffer.clear();
      stopped = true;
      continue;
    }
    std::string line;
    while (at < content.size() && content[at] != '\n' && line.size() < 127) line += content[at++];
    if (at < content.size() && content[at] == '\n') {
      ++at;
    } else {
      stopped = true;  // end of file or an overlong line
    }
    buffer = line;
  }
  const std::size_t nul = buffer.find('\0');
  return nul == std::string::npos ? buffer : buffer.substr(0, nul);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = [] {
    char name[] = "/tmp/fuzz_readfileline_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) std::abort();
    close(fd);
    return std::string(name);
  }();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  const std::string content(reinterpret_cast<const char*>(data), size);
  for (int index : {0, 1, 2, 3, 7, -1}) {
    const std::string got = ReadFileLine(path, index);
    if (got.size() > 127 || got.find('\n') != std::string::npos) std::abort();
    if (got != Model(content, index)) std::abort();
  }
  return 0;
}
