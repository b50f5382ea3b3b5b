// The URL text helpers against small reference models: NthField and
// NthCharPos against a plain scan, and the form encoding against its inverse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/NMURL.h"

namespace {

std::string ReferenceField(const std::string& text, char sep, int n) {
  int field = 1;
  std::string current;
  for (char c : text) {
    if (c == sep) {
      if (field == n) return current;
      ++field;
      current.clear();
    } else {
      current += c;
    }
  }
  return field == n ? current : std::string();
}

int ReferencePos(const std::string& text, char ch, int n) {
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == ch && ++seen == n) return static_cast<int>(i) + 1;
  return static_cast<int>(text.size()) + 1;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  std::abort();  // only upper-case digits are written
}

std::string FormDecode(const std::string& encoded) {
  std::string out;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%') {
      if (i + 2 >= encoded.size()) std::abort();
      out += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
      i += 2;
    } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      out += c;
    } else {
      std::abort();
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const char sep = static_cast<char>(data[0]);
  const int n = static_cast<int>(data[1] % 12);
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

  if (NthField(text, sep, n) != ReferenceField(text, sep, n)) std::abort();
  if (n >= 1 && NthCharPos(text, sep, n) != ReferencePos(text, sep, n)) std::abort();

  TNMURL url(nullptr);
  bool failed = false;
  url.OnError = [&](TComponent*, const std::string&, const std::string&) { failed = true; };
  const std::string encoded = url.Encode(text);
  if (failed) std::abort();
  if (FormDecode(encoded) != text) std::abort();
  return 0;
}
