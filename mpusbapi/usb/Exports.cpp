// The seven entry points of the radio's USB access library, on libusb, and
// the line that says what it is.

#include <cerrno>

#include "mpusbapi/mpusbapi.h"
#include "mpusbapi/usb/DeviceSearch.h"
#include "mpusbapi/usb/PipeTable.h"
#include "mpusbapi/usb/Transfer.h"

namespace {

constexpr uint32_t kVersion = 0x00010000;  // 1.0

uint32_t TransferThrough(void* handle, uint32_t direction, unsigned char* data, uint32_t length, uint32_t* count,
                         uint32_t timeoutMs) {
  // Without a radio attached this fails at once with ENODEV, whatever the
  // time-out; the handle stays valid for when the radio is back.
  mpusb::PipeRoute route;
  if (const int error = mpusb::RoutePipe(handle, direction, route); error != 0) {
    errno = error;
    return 0;
  }
  return mpusb::TransferOn(route, data, length, count, timeoutMs);
}

}  // namespace

extern "C" {

MPUSB_EXPORT void* MPUSB_CALL _MPUSBOpen(uint32_t instance, const char* vid_pid, const char* endpoint,
                                         uint32_t direction, uint32_t /*reserved*/) {
  return mpusb::OpenPipe(instance, vid_pid, endpoint, direction);
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBWrite(void* pipe, const void* data, uint32_t length, uint32_t* written,
                                             uint32_t timeout_ms) {
  // libusb takes one buffer for both directions; an OUT transfer only reads it.
  auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
  return TransferThrough(pipe, MPUSB_WRITE_DIRECTION, bytes, length, written, timeout_ms);
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBRead(void* pipe, void* data, uint32_t length, uint32_t* received,
                                            uint32_t timeout_ms) {
  return TransferThrough(pipe, MPUSB_READ_DIRECTION, static_cast<unsigned char*>(data), length, received, timeout_ms);
}

// A read pipe's transfers already follow its endpoint's type, so reading an
// interrupt endpoint is the same call.
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBReadInt(void* pipe, void* data, uint32_t length, uint32_t* received,
                                               uint32_t timeout_ms) {
  return _MPUSBRead(pipe, data, length, received, timeout_ms);
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBClose(void* pipe) {
  if (mpusb::ClosePipe(pipe)) return 1;
  errno = EBADF;
  return 0;
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDLLVersion(void) { return kVersion; }

MPUSB_EXPORT const char* ravolin_mpusb_describe(void) { return "the USB radio through libusb"; }

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDeviceCount(const char* vid_pid) {
  const auto devices = mpusb::MatchingDevices::List(vid_pid);
  return devices ? static_cast<uint32_t>(devices->size()) : 0;
}

}  // extern "C"
