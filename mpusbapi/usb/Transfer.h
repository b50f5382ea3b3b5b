#pragma once
// One transfer on a pipe's route, of the type its endpoint descriptor names.

#include <cstdint>

#include "mpusbapi/usb/PipeTable.h"

namespace mpusb {

// Moves up to length bytes through the pipe and stores the count moved (also
// after a failure, when part got through). Returns 1, or 0 with errno set:
// ENODEV for a device that is gone (its handle is marked so, and the pipes
// on it look for the radio afresh on their next call), ETIMEDOUT, EPIPE for a stall (the halt
// is cleared again so that the next transfer can go through), EOVERFLOW when
// the device sent more than length. A time-out of 0 waits as briefly as
// possible rather than for ever.
std::uint32_t TransferOn(const PipeRoute& route, unsigned char* data, std::uint32_t length, std::uint32_t* count,
                         std::uint32_t timeoutMs);

}  // namespace mpusb
