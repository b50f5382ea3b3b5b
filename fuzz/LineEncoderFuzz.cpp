// The Base64 line encoder against a decoder of our own: every line holds at
// most 60 characters and ends in CR LF, and the lines decode back to the
// input. The uuencode-style lines carry the right length character and end
// with the closing line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Streams.h"
#include "http/NMUUE.h"

namespace {

const std::string kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string DecodeBase64Line(const std::string& line) {
  if (line.size() % 4 != 0) std::abort();
  std::string out;
  for (std::size_t i = 0; i < line.size(); i += 4) {
    int pad = 0;
    std::uint32_t bits = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      const char c = line[i + j];
      std::size_t v = 0;
      if (c == '=') {
        ++pad;
      } else {
        if (pad) std::abort();  // data after padding
        v = kBase64.find(c);
        if (v == std::string::npos) std::abort();
      }
      bits = bits << 6 | static_cast<std::uint32_t>(v);
    }
    if (pad > 2 || (pad && i + 4 != line.size())) std::abort();
    out += static_cast<char>(bits >> 16);
    if (pad < 2) out += static_cast<char>(bits >> 8 & 0xFF);
    if (pad < 1) out += static_cast<char>(bits & 0xFF);
  }
  return out;
}

std::string Run(const std::string& input, UUMethods method) {
  TMemoryStream in, out;
  in.WriteText(input);  // position left at the end on purpose
  TNMUUProcessor uu(nullptr);
  uu.Method = method;
  uu.InputStream = &in;
  uu.OutputStream = &out;
  uu.Encode();
  if (out.Position() != 0) std::abort();
  std::string text(static_cast<std::size_t>(out.Size()), '\0');
  out.ReadBuffer(text.data(), out.Size());
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string mime = Run(input, uuMime);
  std::string decoded;
  std::size_t start = 0;
  std::size_t lines = 0;
  while (start < mime.size()) {
    const std::size_t end = mime.find("\r\n", start);
    if (end == std::string::npos) std::abort();
    const std::string line = mime.substr(start, end - start);
    if (line.empty() || line.size() > 60) std::abort();
    decoded += DecodeBase64Line(line);
    start = end + 2;
    ++lines;
  }
  if (decoded != input || lines != (size + 44) / 45) std::abort();

  const std::string uu = Run(input, uuCode);
  std::size_t pos = 0;
  for (std::size_t left = size; left > 0;) {
    const std::size_t n = left < 45 ? left : 45;
    if (uu[pos] != static_cast<char>(32 + n)) std::abort();
    const std::size_t chars = n / 3 * 4 + (n % 3 ? n % 3 + 1 : 0);
    pos += 1 + chars;
    if (uu.compare(pos, 2, "\r\n") != 0) std::abort();
    pos += 2;
    left -= n;
  }
  if (uu.substr(pos) != std::string("`\r\n")) std::abort();
  return 0;
}
