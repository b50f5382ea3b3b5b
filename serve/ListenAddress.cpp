#include "serve/ListenAddress.h"

#include <cstdio>

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;  // 127.0.0.1

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = (text[i] >= 'A' && text[i] <= 'Z') ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lower[i]) return false;
  }
  return true;
}

// Decimal digits only, at most `digits` of them, no larger than max.
std::optional<std::uint32_t> SmallNumber(std::string_view text, std::size_t digits, std::uint32_t max) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

// Four decimal numbers 0 to 255. A number with a leading zero is refused:
// some readers take it for octal, so its meaning would be in doubt.
std::optional<std::uint32_t> DottedAddress(std::string_view text) {
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string_view digits = text.substr(0, dot);
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
    const auto value = SmallNumber(digits, 3, 255);
    if (!value) return std::nullopt;
    address = (address << 8) | *value;
    text.remove_prefix(part < 3 ? dot + 1 : dot);
  }
  return address;
}

std::optional<std::uint32_t> Host(std::string_view text) {
  if (EqualsIgnoringCase(text, "localhost")) return kLoopback;
  return DottedAddress(text);
}

}  // namespace

std::string ListenAddress::Text() const {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", unsigned(ipv4 >> 24), unsigned((ipv4 >> 16) & 0xFF),
                unsigned((ipv4 >> 8) & 0xFF), unsigned(ipv4 & 0xFF), unsigned(port));
  return text;
}

bool ListenAddress::Overlaps(const ListenAddress& other) const {
  return port == other.port && (ipv4 == other.ipv4 || ipv4 == 0 || other.ipv4 == 0);
}

std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& error) {
  const std::string quoted = "'" + std::string(text) + "'";
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) {
    error = quoted + " is not host:port";
    return std::nullopt;
  }
  const auto host = Host(text.substr(0, colon));
  if (!host) {
    error = quoted + ": the host must be an IPv4 address such as 127.0.0.1 (0.0.0.0 for every interface) or localhost";
    return std::nullopt;
  }
  const auto port = SmallNumber(text.substr(colon + 1), 5, 65535);
  if (!port || *port == 0) {
    error = quoted + ": the port must be a number from 1 to 65535";
    return std::nullopt;
  }
  return ListenAddress{*host, static_cast<std::uint16_t>(*port)};
}
