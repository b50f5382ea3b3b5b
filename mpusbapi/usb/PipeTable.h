#pragma once
// The open pipes, addressed by the handles callers hold. A handle is a
// number that is never issued twice, so a closed handle stays invalid even
// after other pipes are opened.

#include <cstdint>
#include <memory>

#include "mpusbapi/mpusbapi.h"
#include "mpusbapi/usb/DeviceSearch.h"
#include "mpusbapi/usb/OpenDevice.h"

namespace mpusb {

struct Pipe {
  std::shared_ptr<OpenDevice> device;
  EndpointInfo endpoint;

  // An IN endpoint's address has the top bit set.
  std::uint32_t direction() const { return (endpoint.address & 0x80) ? MPUSB_READ_DIRECTION : MPUSB_WRITE_DIRECTION; }
};

// Opens the pipe to endpoint n (direction 0) or 0x80 | n (direction 1) of the
// instance-th attached device with the identity, claiming the interface that
// holds it. Returns the handle, or (void*)-1 with errno set.
void* OpenPipe(std::uint32_t instance, const char* identity, const char* endpoint, std::uint32_t direction);

// The open pipe of that direction behind a handle; nullptr for any other
// handle. The pipe stays usable while the caller holds it, even if another
// thread closes the handle meanwhile.
std::shared_ptr<const Pipe> FindPipe(void* handle, std::uint32_t direction);

// Closes a handle; the device's handle goes with its last pipe. False for a
// handle that is not open.
bool ClosePipe(void* handle);

// Tests only: closes every pipe.
void CloseAllPipesForTesting();

}  // namespace mpusb
