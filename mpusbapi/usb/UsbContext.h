#pragma once
// The library's one libusb context, made on first use from any thread.

struct libusb_context;

namespace mpusb {

// nullptr, with errno set, when libusb can't start; the next call tries again.
libusb_context* Context();

// Tests only: ends the context so that the next call starts afresh (every
// handle on it must be closed first).
void ExitContextForTesting();

}  // namespace mpusb
