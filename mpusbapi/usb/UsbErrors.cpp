#include "mpusbapi/usb/UsbErrors.h"

#include <libusb.h>
#include <cerrno>

namespace mpusb {

int ErrnoFromLibusb(int rc) {
  switch (rc) {
    case LIBUSB_ERROR_NO_DEVICE: return ENODEV;  // not connected: the handle waits for the radio
    case LIBUSB_ERROR_TIMEOUT: return ETIMEDOUT;
    case LIBUSB_ERROR_PIPE: return EPIPE;          // the endpoint stalled
    case LIBUSB_ERROR_OVERFLOW: return EOVERFLOW;  // the device sent more than was asked
    case LIBUSB_ERROR_ACCESS: return EACCES;       // no permission on the device node
    case LIBUSB_ERROR_BUSY: return EBUSY;          // another program holds the interface
    case LIBUSB_ERROR_NOT_FOUND: return ENOENT;
    case LIBUSB_ERROR_INVALID_PARAM: return EINVAL;
    case LIBUSB_ERROR_INTERRUPTED: return EINTR;
    case LIBUSB_ERROR_NO_MEM: return ENOMEM;
    case LIBUSB_ERROR_NOT_SUPPORTED: return ENOTSUP;
    default: return EIO;
  }
}

}  // namespace mpusb
