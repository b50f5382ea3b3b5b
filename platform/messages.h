#pragma once
// Hidden windows, posted messages, window timers and the message pump: the
// per-thread event model the socket session and the panel are built on.
//
// Everything here is called on the user-interface thread, except
// PostWindowMessage, which any thread may call. A backend (fltk/ on Linux,
// win32/ on Windows) implements it on the platform's one event loop.

#include <cstdint>
#include <functional>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0: no window
using WindowProc = std::intptr_t (*)(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// Message numbers the backends deliver.
constexpr std::uint32_t kWmTimer = 0x0113;  // wParam: timer id
constexpr std::uint32_t kWmActivateApp = 0x001C;
constexpr std::uint32_t kWmUser = 0x0400;

// Window classes: registered once per process, looked up by name.
bool IsWindowClassRegistered(const char* className);
bool RegisterWindowClass(const char* className, WindowProc procedure);  // false on failure

// A hidden window of a registered class (0 when the class is unknown). Its
// owner slot starts empty.
WindowHandle CreateHiddenWindow(const char* className);
// Removes the window; messages still queued for it are dropped, its timers stop.
bool DestroyHiddenWindow(WindowHandle window);
bool IsWindowAlive(WindowHandle window);

void SetWindowOwner(WindowHandle window, void* owner);
void* GetWindowOwner(WindowHandle window);

// Registers className with procedure unless it is registered already, then
// creates a hidden window of it and stores owner (when given) in its owner
// slot. 0 when the class cannot be registered or the window made. The same
// on every backend.
inline WindowHandle AllocateHiddenWindow(const char* className, WindowProc procedure, void* owner) {
  if (!IsWindowClassRegistered(className) && !RegisterWindowClass(className, procedure)) return 0;
  const WindowHandle window = CreateHiddenWindow(className);
  if (window != 0 && owner != nullptr) SetWindowOwner(window, owner);
  return window;
}

// What a window procedure answers for a message it does not handle (0).
std::intptr_t DefaultWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam);

// Queues a message for the window; safe from any thread. beforeDispatch, when
// given, runs on the UI thread right before the window procedure is called,
// and not at all when the window has been destroyed by then.
bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::function<void()> beforeDispatch = {});
// Calls the window procedure at once (0 for a window that does not exist).
std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam);

// Window timers deliver kWmTimer (wParam = id) to their window every
// intervalMs. Setting an id that runs restarts it with the new interval. A
// tick that falls due while an earlier one is still queued is dropped, so a
// busy thread gets one tick, not a backlog.
bool StartWindowTimer(WindowHandle window, std::uintptr_t id, std::uint32_t intervalMs);
bool StopWindowTimer(WindowHandle window, std::uintptr_t id);

// Processes what is pending now (due timers, ready sockets, posted
// messages, GUI events), then returns. True when anything was handled. A
// call handles a bounded batch, due timers first, so that a source that
// stays busy neither keeps it from returning nor holds the timers back.
// An exception that escapes a window procedure run by a pump goes to
// HandleApplicationException (base/Application.h) and the pump goes on.
bool ProcessMessages();

// One pass of a wait loop that found nothing to do: processes what is
// pending; if nothing was, blocks until a source is ready (a socket, a timer,
// a posted message, a GUI event, a Wake call) or maxWaitMs passes, and
// processes that. Never spins.
constexpr std::uint32_t kDefaultMaxWaitMs = 1000;
void WaitAndProcessMessages(std::uint32_t maxWaitMs = kDefaultMaxWaitMs);

// True on the thread that runs the message loop (the user-interface thread),
// and on any thread before the loop has started. For invariant checks.
bool OnMessageThread();

// Makes a blocked WaitAndProcessMessages return (any thread), e.g. after a
// handler set a flag that a wait loop is watching.
void Wake();

void SleepMs(std::uint32_t ms);

// Runs the event loop until QuitMessageLoop (or, with windows shown, until
// the last one closes).
void RunMessageLoop();
void QuitMessageLoop();

}  // namespace platform
