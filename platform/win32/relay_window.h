#pragma once
// A hidden window of the backend's own with a plain window procedure: where
// Winsock posts the replies and notifications that the backend relays.

#include <windows.h>

namespace platform::win32 {

// Registers the class and creates the window; nullptr on failure.
HWND CreateRelayWindow(const char* className, WNDPROC procedure);

}  // namespace platform::win32
