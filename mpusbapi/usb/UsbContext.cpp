#include "mpusbapi/usb/UsbContext.h"

#include <libusb.h>
#include <cerrno>
#include <mutex>

#include "mpusbapi/usb/UsbErrors.h"

namespace mpusb {

namespace {

std::mutex& ContextMutex() {
  static std::mutex* mutex = new std::mutex;  // never destroyed: calls may come during exit
  return *mutex;
}

libusb_context* theContext = nullptr;

}  // namespace

libusb_context* Context() {
  std::lock_guard lock(ContextMutex());
  if (theContext != nullptr) return theContext;
  libusb_context* context = nullptr;
  const int rc = libusb_init(&context);
  if (rc != 0) {
    errno = ErrnoFromLibusb(rc);
    return nullptr;
  }
  // The library writes nothing to the terminal; libusb stays quiet too,
  // unless the user asked for its messages with LIBUSB_DEBUG.
  libusb_set_option(context, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_NONE);
  theContext = context;
  return theContext;
}

void ExitContextForTesting() {
  std::lock_guard lock(ContextMutex());
  if (theContext != nullptr) libusb_exit(theContext);
  theContext = nullptr;
}

}  // namespace mpusb
