#pragma once
// How the POSIX socket backend hooks file descriptors into the event loop
// (implemented by the loop backend, platform/fltk/). Callbacks run on the UI
// thread from inside the pump.

#include <functional>

namespace platform {

using FdCallback = std::function<void(int fd)>;

// Watch fd for readability or writability; a second call for the same fd and
// direction replaces the callback. Readiness repeats while it holds. False
// (and nothing watched) for a descriptor the loop cannot wait on: negative,
// or not below FD_SETSIZE.
bool WatchFdReadable(int fd, FdCallback callback);
bool WatchFdWritable(int fd, FdCallback callback);
void UnwatchFdReadable(int fd);
void UnwatchFdWritable(int fd);

}  // namespace platform
