#include "mpusbapi/usb/DeviceSearch.h"

#include <libusb.h>
#include <algorithm>
#include <cerrno>
#include <tuple>
#include <utility>

#include "mpusbapi/usb/UsbContext.h"
#include "mpusbapi/usb/UsbErrors.h"

namespace mpusb {

namespace {

struct Placement {
  std::uint8_t bus;
  std::vector<std::uint8_t> ports;
  std::uint8_t address;

  explicit Placement(libusb_device* device)
      : bus(libusb_get_bus_number(device)), address(libusb_get_device_address(device)) {
    std::uint8_t numbers[8];  // USB allows at most seven tiers
    const int count = libusb_get_port_numbers(device, numbers, sizeof numbers);
    if (count > 0) ports.assign(numbers, numbers + count);
  }
  bool operator<(const Placement& other) const {
    return std::tie(bus, ports, address) < std::tie(other.bus, other.ports, other.address);
  }
};

bool HasIdentity(libusb_device* device, DeviceIdentity identity) {
  libusb_device_descriptor descriptor{};
  if (libusb_get_device_descriptor(device, &descriptor) != 0) return false;
  return descriptor.idVendor == identity.vendor && descriptor.idProduct == identity.product;
}

int SearchConfig(const libusb_config_descriptor& config, std::uint8_t address, EndpointInfo& found) {
  for (int i = 0; i < config.bNumInterfaces; ++i) {
    const libusb_interface& interface = config.interface[i];
    for (int a = 0; a < interface.num_altsetting; ++a) {
      const libusb_interface_descriptor& setting = interface.altsetting[a];
      for (int e = 0; e < setting.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
        if (endpoint.bEndpointAddress != address) continue;
        const std::uint8_t type = endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
        if (type != LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK && type != LIBUSB_ENDPOINT_TRANSFER_TYPE_INTERRUPT)
          return LIBUSB_ERROR_NOT_SUPPORTED;
        found = EndpointInfo{address, type, setting.bInterfaceNumber, setting.bAlternateSetting};
        return 0;
      }
    }
  }
  return LIBUSB_ERROR_NOT_FOUND;
}

}  // namespace

std::optional<MatchingDevices> MatchingDevices::List(const char* identityText) {
  const auto identity = ParseDeviceIdentity(identityText);
  if (!identity) {
    errno = EINVAL;
    return std::nullopt;
  }
  return List(*identity);
}

std::optional<MatchingDevices> MatchingDevices::List(DeviceIdentity identity) {
  libusb_context* context = Context();
  if (context == nullptr) return std::nullopt;
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context, &list);
  if (count < 0) {
    errno = ErrnoFromLibusb(static_cast<int>(count));
    return std::nullopt;
  }
  // Each device's placement is read once, not on every comparison.
  std::vector<std::pair<Placement, libusb_device*>> placed;
  for (ssize_t i = 0; i < count; ++i)
    if (HasIdentity(list[i], identity)) placed.emplace_back(Placement(list[i]), libusb_ref_device(list[i]));
  libusb_free_device_list(list, 1);
  std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  MatchingDevices found;
  for (const auto& entry : placed) found.devices_.push_back(entry.second);
  return found;
}

MatchingDevices::MatchingDevices(MatchingDevices&& other) noexcept : devices_(std::exchange(other.devices_, {})) {}

MatchingDevices::~MatchingDevices() {
  for (libusb_device* device : devices_) libusb_unref_device(device);
}

int FindEndpoint(libusb_device* device, std::uint8_t address, EndpointInfo& found) {
  libusb_config_descriptor* config = nullptr;
  int rc = libusb_get_active_config_descriptor(device, &config);
  if (rc == LIBUSB_ERROR_NOT_FOUND) rc = libusb_get_config_descriptor(device, 0, &config);
  if (rc != 0) return rc;
  rc = SearchConfig(*config, address, found);
  libusb_free_config_descriptor(config);
  return rc;
}

}  // namespace mpusb
