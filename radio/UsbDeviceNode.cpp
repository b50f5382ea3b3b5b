#include "radio/UsbDeviceNode.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The first word of a sysfs attribute, as a number in the given base.
std::optional<unsigned long> ReadNumber(const std::filesystem::path& file, int base) {
  std::ifstream in(file);
  std::string word;
  if (!(in >> word)) return std::nullopt;
  std::size_t used = 0;
  try {
    const unsigned long value = std::stoul(word, &used, base);
    if (used == word.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindUsbDeviceNode(std::uint16_t vendor, std::uint16_t product,
                                             const std::string& devicesFolder) {
  std::error_code error;
  std::vector<std::filesystem::path> devices;
  for (const auto& entry : std::filesystem::directory_iterator(devicesFolder, error)) devices.push_back(entry.path());
  std::sort(devices.begin(), devices.end());  // the same answer every time with several radios
  for (const auto& device : devices) {
    if (ReadNumber(device / "idVendor", 16) != vendor || ReadNumber(device / "idProduct", 16) != product) continue;
    const auto bus = ReadNumber(device / "busnum", 10);
    const auto number = ReadNumber(device / "devnum", 10);
    if (!bus || !number) continue;
    char node[64];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03lu/%03lu", *bus, *number);
    return node;
  }
  return std::nullopt;
}
