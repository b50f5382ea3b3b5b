#pragma once
// Finding the attached devices of one identity, and the endpoint a pipe uses.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "mpusbapi/usb/DeviceIdentity.h"

struct libusb_device;

namespace mpusb {

// The attached devices with an identity, in an order that stays the same
// while they stay plugged in: by bus, then by the ports leading to them.
// Holds a reference on each until it goes.
class MatchingDevices {
public:
  // The devices with the identity a text names ("vid_04d8&pid_000c"), seen
  // through the library's context. Nothing, with errno set, when the text
  // names no identity (EINVAL), libusb can't start or the list can't be read.
  static std::optional<MatchingDevices> List(const char* identityText);
  static std::optional<MatchingDevices> List(DeviceIdentity identity);

  MatchingDevices(MatchingDevices&& other) noexcept;
  ~MatchingDevices();
  MatchingDevices(const MatchingDevices&) = delete;
  MatchingDevices& operator=(const MatchingDevices&) = delete;

  std::size_t size() const { return devices_.size(); }
  libusb_device* at(std::size_t index) const { return devices_.at(index); }

private:
  MatchingDevices() = default;

  std::vector<libusb_device*> devices_;
};

struct EndpointInfo {
  std::uint8_t address = 0;       // n for OUT, 0x80 | n for IN
  std::uint8_t transferType = 0;  // LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK or _INTERRUPT
  int interfaceNumber = 0;
  int altSetting = 0;
};

// Looks the endpoint up in the device's active configuration (or its first,
// when it reports none). Returns 0, LIBUSB_ERROR_NOT_FOUND when no interface
// has it, LIBUSB_ERROR_NOT_SUPPORTED when it is neither bulk nor interrupt,
// or another libusb error when the descriptors can't be read.
int FindEndpoint(libusb_device* device, std::uint8_t address, EndpointInfo& found);

}  // namespace mpusb
