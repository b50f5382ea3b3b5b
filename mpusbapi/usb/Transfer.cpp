#include "mpusbapi/usb/Transfer.h"

#include <libusb.h>
#include <cerrno>
#include <climits>

#include "mpusbapi/usb/UsbErrors.h"

namespace mpusb {

std::uint32_t TransferOn(const PipeRoute& route, unsigned char* data, std::uint32_t length, std::uint32_t* count,
                         std::uint32_t timeoutMs) {
  if (count != nullptr) *count = 0;
  if ((data == nullptr && length > 0) || length > INT_MAX) {
    errno = EINVAL;
    return 0;
  }
  libusb_device_handle* handle = route.device->handle();
  const std::uint8_t address = route.endpoint.address;
  // libusb reads a time-out of 0 as "no limit".
  const unsigned int timeout = timeoutMs == 0 ? 1 : timeoutMs;
  int moved = 0;
  const int rc = route.endpoint.transferType == LIBUSB_ENDPOINT_TRANSFER_TYPE_INTERRUPT
                     ? libusb_interrupt_transfer(handle, address, data, static_cast<int>(length), &moved, timeout)
                     : libusb_bulk_transfer(handle, address, data, static_cast<int>(length), &moved, timeout);
  if (count != nullptr) *count = static_cast<std::uint32_t>(moved);
  if (rc == 0) return 1;
  // A halted endpoint refuses every later transfer until it is cleared.
  if (rc == LIBUSB_ERROR_PIPE) libusb_clear_halt(handle, address);
  if (rc == LIBUSB_ERROR_NO_DEVICE) route.device->MarkGone();
  errno = ErrnoFromLibusb(rc);
  return 0;
}

}  // namespace mpusb
