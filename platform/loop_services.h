#pragma once
// What an event loop backend gives the POSIX socket layer, beyond the
// message model of platform/messages.h: watching descriptors, and posts whose
// delivery is decided at the last moment. The FLTK loop (fltk/) implements
// it; posix/ depends on this header only, so another loop (a headless one,
// another toolkit) can take fltk/'s place without touching posix/.
//
// Descriptor callbacks run on the user-interface thread from inside the
// pump. A listening socket is watched for readability like any other, which
// is all an accept notification needs.

#include <cstdint>
#include <functional>

#include "platform/messages.h"

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

// Like PostWindowMessage; deliver runs on the user-interface thread right
// before the window procedure would be called (never for a destroyed window),
// and the message is dropped when it answers false. Safe from any thread.
// The socket layer drops notifications for a socket that has been closed
// (its number may already belong to a new socket) and lookup replies that
// were cancelled this way.
bool PostWindowMessageIf(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                         std::function<bool()> deliver);

// The same, for a post made on the user-interface thread from a callback of
// the event loop (a descriptor became ready): the loop is not woken at once,
// since it is running; the pump handles the message as soon as the loop's
// wait returns, and any other loop at the start of its next wait. From
// another thread it is PostWindowMessageIf.
bool PostWindowMessageFromLoop(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               std::function<bool()> deliver);

}  // namespace platform
