#include "tests/mpusbapi/UsbLibraryFixture.h"

#include <cerrno>
#include <sstream>

#include "mpusbapi/usb/PipeTable.h"
#include "mpusbapi/usb/UsbContext.h"

void UsbLibraryTest::TearDown() {
  // Every handle goes before the testbed does.
  mpusb::CloseAllPipesForTesting();
  mpusb::ExitContextForTesting();
}

void* UsbLibraryTest::OpenPipe(std::uint32_t direction, std::uint32_t instance, const char* endpoint,
                               const char* identity) {
  return _MPUSBOpen(instance, identity, endpoint, direction, 0);
}

UsbLibraryTest::Outcome UsbLibraryTest::Write(void* pipe, const fakeusb::Bytes& bytes, std::uint32_t timeoutMs) {
  Outcome outcome{};
  outcome.count = 0xdeadbeef;
  errno = 0;
  outcome.result = _MPUSBWrite(pipe, bytes.data(), static_cast<std::uint32_t>(bytes.size()), &outcome.count, timeoutMs);
  outcome.error = outcome.result != 0 ? 0 : errno;
  return outcome;
}

UsbLibraryTest::Outcome UsbLibraryTest::Read(void* pipe, std::uint32_t length, std::uint32_t timeoutMs) {
  Outcome outcome{};
  outcome.count = 0xdeadbeef;
  fakeusb::Bytes buffer(length + 8, 0xEE);  // room beyond length shows an overrun
  errno = 0;
  outcome.result = _MPUSBRead(pipe, buffer.data(), length, &outcome.count, timeoutMs);
  outcome.error = outcome.result != 0 ? 0 : errno;
  if (outcome.result != 0 && outcome.count <= length) buffer.resize(outcome.count);
  outcome.bytes = buffer;
  return outcome;
}

fakeusb::Bytes Hex(const std::string& text) {
  std::istringstream in(text);
  fakeusb::Bytes bytes;
  for (unsigned value; in >> std::hex >> value;) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

fakeusb::DeviceLayout OnPort(int port) {
  fakeusb::DeviceLayout layout;
  layout.port = port;
  return layout;
}
