#pragma once
// A umockdev testbed holding fake USB devices, plugged in and out with the
// uevents udev would send; the process must run under umockdev's preload
// library (see PreloadMain.cpp).

#include <memory>
#include <string>
#include <vector>

#include "tests/mpusbapi/FakeUsbDevice.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace fakeusb {

class FakeUsbBus {
public:
  FakeUsbBus();
  // Every handle on the devices must be closed first: a request on a node
  // whose testbed is gone never returns.
  ~FakeUsbBus();
  FakeUsbBus(const FakeUsbBus&) = delete;
  FakeUsbBus& operator=(const FakeUsbBus&) = delete;

  FakeUsbDevice& Plug(DeviceLayout layout = {});
  // As if the cable were pulled: the device ends its transfers as on a
  // disconnect and leaves the bus. Handles still open on it get ENODEV from
  // it until the bus goes.
  void Unplug(FakeUsbDevice& device);

  // Where the testbed keeps a device node ("/dev/bus/usb/001/002") on disk;
  // the code under test sees it under its own name.
  std::string NodeFile(const FakeUsbDevice& device) const;

private:
  UMockdevTestbed* testbed_;
  std::vector<std::unique_ptr<FakeUsbDevice>> devices_;
};

}  // namespace fakeusb
