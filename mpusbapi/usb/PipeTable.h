#pragma once
// The open pipes, addressed by the handles callers hold. A handle is a
// number that is never issued twice, so a closed handle stays invalid even
// after other pipes are opened.
//
// A handle outlives the radio's presence on the bus: while the radio is
// unplugged its pipes reach no device, and the first call after the radio
// is plugged in again finds it, opens it and claims its interface anew.

#include <cstdint>
#include <memory>

#include "mpusbapi/mpusbapi.h"
#include "mpusbapi/usb/DeviceSearch.h"
#include "mpusbapi/usb/OpenDevice.h"

namespace mpusb {

// Where a pipe's transfers go now: the device's shared handle and the
// endpoint as that device describes it.
struct PipeRoute {
  std::shared_ptr<OpenDevice> device;
  EndpointInfo endpoint;
};

// Opens the pipe to endpoint n (direction 0) or 0x80 | n (direction 1) of the
// instance-th attached device with the identity, claiming the interface that
// holds it. Returns the handle, or (void*)-1 with errno set: ENODEV when no
// such device is attached.
void* OpenPipe(std::uint32_t instance, const char* identity, const char* endpoint, std::uint32_t direction);

// The route of an open pipe of that direction, reaching the radio again
// when the device the pipe had is gone. Returns 0, EBADF for any other
// handle, ENODEV while no matching device is attached, or the errno of
// opening or claiming the device that came back. The route stays usable
// while the caller holds it, even if another thread closes the handle.
int RoutePipe(void* handle, std::uint32_t direction, PipeRoute& route);

// Closes a handle; the device's handle goes with its last pipe. False for a
// handle that is not open.
bool ClosePipe(void* handle);

// Tests only: closes every pipe.
void CloseAllPipesForTesting();

}  // namespace mpusb
