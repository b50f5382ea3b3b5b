#pragma once
// libusb's error codes as the errno values callers read after a failed call.

namespace mpusb {

// rc is a negative libusb_error; the result is a positive errno value.
int ErrnoFromLibusb(int rc);

}  // namespace mpusb
