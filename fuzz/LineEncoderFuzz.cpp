// The line encoder on memory streams, with both alphabets, against a decoder
// of our own: every line carries at most 45 input bytes and ends in CR LF,
// Base64 lines are padded with "=", uuencode-style lines lead with their
// length character and end with the closing line, and the lines decode back
// to the input.
//
// Input: a control byte, then the bytes to encode. The control byte picks
// where the input stream's position is left before Encode (which must read
// from the start anyway) and how many bytes the output stream already holds
// (the lines go after them, untouched).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Streams.h"
#include "http/NMUUE.h"

namespace {

constexpr std::size_t kLineBytes = 45;

// The index of c in the alphabet, or 64 when it is not there.
std::size_t IndexOf(const std::array<char, 64>& alphabet, char c) {
  for (std::size_t i = 0; i < alphabet.size(); ++i)
    if (alphabet[i] == c) return i;
  return 64;
}

std::array<char, 64> ExpectedAlphabet(UUMethods method) {
  std::array<char, 64> a{};
  if (method == uuMime) {
    const std::string mime = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < 64; ++i) a[i] = mime[i];
  } else {
    a[0] = static_cast<char>(96);
    for (std::size_t i = 1; i < 64; ++i) a[i] = static_cast<char>(32 + i);
  }
  return a;
}

// Decodes the data characters of one line that carries n input bytes.
std::string DecodeGroups(const std::array<char, 64>& a, const std::string& chars, std::size_t n) {
  std::string out;
  std::uint32_t bits = 0;
  int held = 0;
  for (char c : chars) {
    const std::size_t v = IndexOf(a, c);
    if (v == 64) std::abort();
    bits = bits << 6 | static_cast<std::uint32_t>(v);
    held += 6;
    if (held >= 8) {
      held -= 8;
      out += static_cast<char>(bits >> held & 0xFF);
    }
  }
  if (out.size() != n) std::abort();
  if (bits & ((1u << held) - 1)) std::abort();  // the spare bits are zero
  return out;
}

// Splits text into CR LF lines; aborts on a line without its CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) std::abort();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string DecodeMime(const std::vector<std::string>& lines, std::size_t size) {
  const auto a = ExpectedAlphabet(uuMime);
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    const std::size_t n = i + 1 < lines.size() ? kLineBytes : size - kLineBytes * i;
    if (line.size() != (n + 2) / 3 * 4) std::abort();
    const std::size_t pad = n % 3 ? 3 - n % 3 : 0;
    if (line.compare(line.size() - pad, pad, std::string(pad, '=')) != 0) std::abort();
    line.resize(line.size() - pad);
    out += DecodeGroups(a, line, n);
  }
  return out;
}

std::string DecodeUu(const std::vector<std::string>& lines) {
  const auto a = ExpectedAlphabet(uuCode);
  if (lines.empty() || lines.back() != std::string(1, a[0])) std::abort();
  std::string out;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) std::abort();
    const std::size_t n = IndexOf(a, line[0]);
    if (n == 0 || n > kLineBytes || (n < kLineBytes && i + 2 != lines.size())) std::abort();
    const std::size_t chars = n / 3 * 4 + (n % 3 ? n % 3 + 1 : 0);
    if (line.size() != 1 + chars) std::abort();
    out += DecodeGroups(a, line.substr(1), n);
  }
  return out;
}

// Encodes input with method; returns the lines after the prefix.
std::string Run(const std::string& input, UUMethods method, std::uint8_t control) {
  TMemoryStream in, out;
  in.WriteText(input);
  in.SetPosition(static_cast<std::int64_t>(input.size() * (control & 3) / 3));
  const std::string prefix(control >> 2 & 7, 'p');
  out.WriteText(prefix);
  out.SetPosition(0);

  TNMUUProcessor uu(nullptr);
  uu.Method = method;
  uu.InputStream = &in;
  uu.OutputStream = &out;
  int begins = 0, ends = 0;
  uu.OnBeginEncode = [&](TComponent* sender) {
    if (sender != &uu || ends != 0) std::abort();
    ++begins;
  };
  uu.OnEndEncode = [&](TComponent* sender) {
    if (sender != &uu || out.Position() != 0) std::abort();
    ++ends;
  };
  uu.Encode();
  if (begins != 1 || ends != 1 || out.Position() != 0) std::abort();
  if (uu.Alphabet() != ExpectedAlphabet(method)) std::abort();
  // Any other method value leaves the alphabet as it was.
  uu.Method = static_cast<UUMethods>(2 + (control >> 5));
  uu.SelectAlphabet();
  if (uu.Alphabet() != ExpectedAlphabet(method)) std::abort();

  const std::string text = out.ToString();
  if (text.compare(0, prefix.size(), prefix) != 0) std::abort();
  return text.substr(prefix.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::vector<std::string> mime = Lines(Run(input, uuMime, control));
  if (mime.size() != (input.size() + kLineBytes - 1) / kLineBytes) std::abort();
  if (DecodeMime(mime, input.size()) != input) std::abort();

  if (DecodeUu(Lines(Run(input, uuCode, control))) != input) std::abort();
  return 0;
}
