#include "mpusbapi/usb/DeviceIdentity.h"

#include <cctype>
#include <string_view>

namespace mpusb {

namespace {

// Consumes prefix from text, letters in either case.
bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  text.remove_prefix(prefix.size());
  return true;
}

std::optional<std::uint16_t> TakeHex16(std::string_view& text) {
  if (text.size() < 4) return std::nullopt;
  std::uint16_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const int c = std::tolower(static_cast<unsigned char>(text[i]));
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return std::nullopt;
    value = static_cast<std::uint16_t>(value * 16 + digit);
  }
  text.remove_prefix(4);
  return value;
}

}  // namespace

std::optional<DeviceIdentity> ParseDeviceIdentity(const char* text) {
  if (text == nullptr) return std::nullopt;
  std::string_view rest(text);
  if (!TakePrefix(rest, "vid_")) return std::nullopt;
  const auto vendor = TakeHex16(rest);
  if (!vendor || !TakePrefix(rest, "&pid_")) return std::nullopt;
  const auto product = TakeHex16(rest);
  if (!product || !rest.empty()) return std::nullopt;
  return DeviceIdentity{*vendor, *product};
}

std::optional<std::uint8_t> ParseEndpointNumber(const char* text) {
  if (text == nullptr) return std::nullopt;
  std::string_view rest(text);
  if (!TakePrefix(rest, "\\mchp_ep")) return std::nullopt;
  // One or two decimal digits, no sign, no leading zero: 1 to 15.
  if (rest.empty() || rest.size() > 2 || rest[0] == '0') return std::nullopt;
  unsigned number = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  if (number > 15) return std::nullopt;
  return static_cast<std::uint8_t>(number);
}

}  // namespace mpusb
