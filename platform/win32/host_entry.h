#pragma once
// Copies a host entry into a caller's buffer, with every pointer of the copy
// pointing into that buffer.

#include "platform/sockets.h"

namespace sock {

// The number of bytes used, or -1 when the entry does not fit.
int PackHostEntry(const HostEntry& entry, char* buffer, int bufferLength);

}  // namespace sock
