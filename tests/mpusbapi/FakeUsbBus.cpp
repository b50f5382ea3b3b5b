#include "tests/mpusbapi/FakeUsbBus.h"

#include <umockdev.h>
#include <stdexcept>
#include <string>

namespace fakeusb {

namespace {

void Check(gboolean done, GError* error, const std::string& what) {
  if (done && error == nullptr) return;
  const std::string message = what + ": " + (error != nullptr ? error->message : "failed");
  if (error != nullptr) g_error_free(error);
  throw std::runtime_error(message);
}

}  // namespace

FakeUsbBus::FakeUsbBus() : testbed_(umockdev_testbed_new()) {
  if (!umockdev_in_mock_environment()) throw std::runtime_error("not running under umockdev's preload library");
}

FakeUsbBus::~FakeUsbBus() {
  for (const auto& device : devices_)
    umockdev_testbed_detach_ioctl(testbed_, DeviceNode(device->layout()).c_str(), nullptr);
  g_object_unref(testbed_);
}

FakeUsbDevice& FakeUsbBus::Plug(DeviceLayout layout) {
  auto device = std::make_unique<FakeUsbDevice>(std::move(layout));
  GError* error = nullptr;
  Check(umockdev_testbed_add_from_string(testbed_, DescribeDevice(device->layout()).c_str(), &error), error,
        "adding the device");
  const std::string node = DeviceNode(device->layout());
  Check(umockdev_testbed_attach_ioctl(testbed_, node.c_str(), device->handler(), &error), error, "attaching " + node);
  umockdev_testbed_uevent(testbed_, SysPath(device->layout()).c_str(), "add");
  devices_.push_back(std::move(device));
  return *devices_.back();
}

void FakeUsbBus::Unplug(FakeUsbDevice& device) {
  device.Unplug();
  const std::string path = SysPath(device.layout());
  umockdev_testbed_uevent(testbed_, path.c_str(), "remove");
  umockdev_testbed_remove_device(testbed_, path.c_str());
}

std::string FakeUsbBus::NodeFile(const FakeUsbDevice& device) const {
  gchar* root = umockdev_testbed_get_root_dir(testbed_);  // the caller's to free
  const std::string file = std::string(root) + DeviceNode(device.layout());
  g_free(root);
  return file;
}

}  // namespace fakeusb
