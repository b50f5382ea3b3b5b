// Address text parsing in the classic form: one to four parts separated by
// dots, each decimal, octal (leading 0) or hexadecimal (0x); the last part
// fills the remaining bytes ("127.1" is 127.0.0.1). Nothing may follow.

#include <arpa/inet.h>

#include <cctype>
#include <cstdint>

#include "platform/sockets.h"

namespace sock {
namespace {

// Reads one part at p; false when there are no digits or it overflows 32 bits.
bool ReadPart(const char*& p, std::uint64_t& value) {
  int base = 10;
  if (*p == '0') {
    base = 8;
    if (p[1] == 'x' || p[1] == 'X') {
      base = 16;
      p += 2;
      if (!std::isxdigit(static_cast<unsigned char>(*p))) return false;
    }
  }
  if (!std::isxdigit(static_cast<unsigned char>(*p))) return false;
  value = 0;
  for (;; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    int digit;
    if (std::isdigit(c))
      digit = c - '0';
    else if (base == 16 && std::isxdigit(c))
      digit = std::tolower(c) - 'a' + 10;
    else
      break;
    if (digit >= base) return false;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return false;
  }
  return true;
}

}  // namespace

std::uint32_t InetAddr(const char* text) {
  if (!text) return kInAddrNone;
  std::uint64_t parts[4];
  int count = 0;
  const char* p = text;
  for (;;) {
    if (count == 4 || !ReadPart(p, parts[count])) return kInAddrNone;
    ++count;
    if (*p == '\0') break;
    if (*p != '.') return kInAddrNone;
    ++p;
  }
  std::uint64_t address = 0;
  for (int i = 0; i < count - 1; ++i) {
    if (parts[i] > 0xFF) return kInAddrNone;
    address |= parts[i] << (24 - 8 * i);
  }
  const int lastBits = 32 - 8 * (count - 1);
  if (lastBits < 32 && parts[count - 1] >> lastBits) return kInAddrNone;
  address |= parts[count - 1];
  return htonl(static_cast<std::uint32_t>(address));
}

}  // namespace sock
