#pragma once
// Turns socket readiness into window messages for sockets registered with
// AsyncSelect, following the notification rules in platform/sockets.h. The
// socket calls tell it what they did so that it can re-arm.

#include <cstdint>

#include "platform/messages.h"

namespace sock::detail {

// AsyncSelect: also makes the socket non-blocking. No events (or no window)
// ends the registration. 0 or kSocketError with the last error set.
int Register(int fd, platform::WindowHandle window, std::uint32_t message, long events);
bool IsRegistered(int fd);

// A non-blocking connect was started (error 0), or failed at once with an
// error that is reported through the connect notification.
void ConnectStarted(int fd, int error);
void RecvCalled(int fd);
void SendWouldBlock(int fd);
// The socket listens now: accept notifications from here on.
void ListenStarted(int fd);
// The accepted socket inherits the listener's registration.
void AcceptCalled(int listener, int accepted);
// Before the descriptor is closed: no further notifications, and those still
// queued are dropped.
void Forget(int fd);

}  // namespace sock::detail
