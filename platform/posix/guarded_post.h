#pragma once
// A posted message whose delivery is decided at the last moment, on the
// user-interface thread (implemented by the loop backend, platform/fltk/).
// The socket layer uses it to drop notifications for a socket that has been
// closed (its number may already belong to a new socket), ticks of a stopped
// timer, and lookup replies that were cancelled.

#include <cstdint>
#include <functional>

#include "platform/messages.h"

namespace platform {

// Like PostWindowMessage; deliver runs on the user-interface thread right
// before the window procedure would be called (never for a destroyed window),
// and the message is dropped when it answers false. Safe from any thread.
bool PostWindowMessageIf(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                         std::function<bool()> deliver);

// The same, for a post made on the user-interface thread from a callback of
// the event loop (a descriptor became ready): the loop is not woken at once,
// since it is running; the pump handles the message as soon as the loop's
// wait returns, and any other loop at the start of its next wait. From
// another thread it is PostWindowMessageIf.
bool PostWindowMessageFromLoop(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam, std::function<bool()> deliver);

}  // namespace platform
