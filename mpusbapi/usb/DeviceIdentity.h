#pragma once
// The texts callers name a device and an endpoint with: "vid_04d8&pid_000c"
// (four hex digits each, either case) and "\MCHP_EP1" (endpoint 1 to 15).

#include <cstdint>
#include <optional>

namespace mpusb {

struct DeviceIdentity {
  std::uint16_t vendor;
  std::uint16_t product;
};

// Nothing for a text that is absent or not exactly of that form.
std::optional<DeviceIdentity> ParseDeviceIdentity(const char* text);
std::optional<std::uint8_t> ParseEndpointNumber(const char* text);

}  // namespace mpusb
