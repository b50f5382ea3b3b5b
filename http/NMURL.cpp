#include "http/NMURL.h"

#include "base/Exception.h"

std::string NthField(const std::string& text, char separator, int n) {
  if (n < 1) return {};
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string::npos) return {};
    start = at + 1;
  }
  const std::size_t end = text.find(separator, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int NthCharPos(const std::string& text, char ch, int n) {
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == ch && ++seen == n) return static_cast<int>(i) + 1;
  return static_cast<int>(text.size()) + 1;
}

namespace {

bool KeepsItself(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string FormEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (KeepsItself(c)) {
      out += ch;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

std::string TNMURL::Encode(const std::string& text) {
  try {
    return FormEncode(text);
  } catch (const Exception& e) {
    Fire(OnError, this, std::string("Error during encode"), e.Message());
    return text;
  }
}
