#include "mpusbapi/usb/OpenDevice.h"

#include <libusb.h>
#include <algorithm>

namespace mpusb {

std::shared_ptr<OpenDevice> OpenDevice::Open(libusb_device* device, int& rc) {
  libusb_device_handle* handle = nullptr;
  rc = libusb_open(device, &handle);
  if (rc != 0) return nullptr;
  // Where the platform can't detach drivers the claim itself tells.
  libusb_set_auto_detach_kernel_driver(handle, 1);
  return std::shared_ptr<OpenDevice>(new OpenDevice(device, handle));
}

OpenDevice::~OpenDevice() {
  // A device that is gone fails the release; closing still frees the handle.
  for (int interfaceNumber : claimed_) libusb_release_interface(handle_, interfaceNumber);
  libusb_close(handle_);
}

int OpenDevice::Claim(int interfaceNumber, int altSetting) {
  if (std::find(claimed_.begin(), claimed_.end(), interfaceNumber) != claimed_.end()) return 0;
  int rc = libusb_claim_interface(handle_, interfaceNumber);
  if (rc == LIBUSB_ERROR_OTHER || rc == LIBUSB_ERROR_NOT_SUPPORTED) {
    // The node could not say which driver holds the interface, or could not
    // detach it: a plain claim still succeeds when none does.
    libusb_set_auto_detach_kernel_driver(handle_, 0);
    rc = libusb_claim_interface(handle_, interfaceNumber);
  }
  if (rc != 0) return rc;
  if (altSetting != 0) {
    rc = libusb_set_interface_alt_setting(handle_, interfaceNumber, altSetting);
    if (rc != 0) {
      libusb_release_interface(handle_, interfaceNumber);
      return rc;
    }
  }
  claimed_.push_back(interfaceNumber);
  return 0;
}

}  // namespace mpusb
