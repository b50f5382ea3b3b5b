#pragma once
// Where an attached USB device's node is, found the way udev names it: the
// first device under the sysfs devices folder with the vendor and product,
// as /dev/bus/usb/BBB/DDD from its bus and device numbers.

#include <cstdint>
#include <optional>
#include <string>

std::optional<std::string> FindUsbDeviceNode(std::uint16_t vendor, std::uint16_t product,
                                             const std::string& devicesFolder = "/sys/bus/usb/devices");
