#pragma once
// One open handle on one attached device, shared by every pipe to it: only
// one open file may claim an interface, so the write and the read pipe of a
// radio must go through the same handle.

#include <atomic>
#include <memory>
#include <vector>

struct libusb_device;
struct libusb_device_handle;

namespace mpusb {

class OpenDevice {
public:
  // Opens the device; nullptr with a libusb error in rc when it can't.
  static std::shared_ptr<OpenDevice> Open(libusb_device* device, int& rc);
  // Releases the interfaces it claimed (a kernel driver detached for them is
  // attached again) and closes the handle.
  ~OpenDevice();
  OpenDevice(const OpenDevice&) = delete;
  OpenDevice& operator=(const OpenDevice&) = delete;

  libusb_device* device() const { return device_; }
  libusb_device_handle* handle() const { return handle_; }

  // A transfer found the device unplugged: every pipe on this handle gives
  // it up and looks for the radio afresh on its next call. Any thread.
  void MarkGone() { gone_.store(true); }
  bool Gone() const { return gone_.load(); }

  // Claims an interface once, detaching a kernel driver that holds it (a
  // plain claim where the node can't detach), and selects the alternate
  // setting. Returns 0 or a libusb error. Called only with the pipe table's
  // lock held, which is what keeps two claims on one handle apart.
  int Claim(int interfaceNumber, int altSetting);

private:
  OpenDevice(libusb_device* device, libusb_device_handle* handle) : device_(device), handle_(handle) {}

  libusb_device* device_;
  libusb_device_handle* handle_;
  std::vector<int> claimed_;  // guarded by the pipe table's lock, as Claim is
  std::atomic<bool> gone_{false};
};

}  // namespace mpusb
