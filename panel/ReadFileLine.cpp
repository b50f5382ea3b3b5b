#include "panel/ReadFileLine.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kBufferSize = 128;  // 127 characters and a zero byte

// One open file, read the way a text-mode stream reads it: a carriage return
// directly before a line feed is dropped.
class TextReader {
public:
  explicit TextReader(std::FILE* file) : file_(file) {}

  int Next() {
    int c = std::getc(file_);
    if (c == '\r') {
      const int after = std::getc(file_);
      if (after == '\n') return '\n';
      if (after != EOF) std::ungetc(after, file_);
    }
    return c;
  }

private:
  std::FILE* file_;
};

// Reads one line into buffer. Returns false when reading has to stop: the end
// of the file was met, or the line did not fit. The buffer then keeps what
// this read stored, and later reads must leave it alone.
bool ReadLine(TextReader& reader, char (&buffer)[kBufferSize]) {
  std::size_t length = 0;
  for (;;) {
    const int c = reader.Next();
    if (c == EOF) {
      buffer[length] = '\0';
      return false;
    }
    if (c == '\n') {
      buffer[length] = '\0';
      return true;
    }
    if (length == kBufferSize - 1) {
      // The 128th character of a line: the first 127 are kept and the rest
      // of the file is not read.
      buffer[length] = '\0';
      return false;
    }
    buffer[length++] = static_cast<char>(c);
  }
}

}  // namespace

std::string ReadFileLine(const std::string& fileName, std::int32_t index) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) return "0";

  TextReader reader(file);
  char buffer[kBufferSize] = {};
  const int reads = (index >= 0 && index <= 2) ? index + 1 : 4;
  bool readable = true;
  for (int i = 0; i < reads && readable; ++i) readable = ReadLine(reader, buffer);

  // A file that opens but can't be read (a directory, on POSIX) counts as
  // one that can't be opened, as it does where directories don't open.
  const bool failed = std::ferror(file) != 0 && buffer[0] == '\0';
  std::fclose(file);
  if (failed) return "0";
  return std::string(buffer, strnlen(buffer, kBufferSize));
}
