#pragma once
// A window timer as a small owned object: a hidden window of its own class
// with timer 1 on it. While it runs, OnTick is called every interval through
// the message loop; a tick that falls due while the thread is busy is
// delivered once, not queued up, and a tick still queued when the timer
// stops is not delivered. An exception that escapes OnTick goes to the
// application-wide handler and the timer goes on.
//
// The session's time-out (TThreadTimer) and the panel's Timer1 are both one
// of these.

#include <cstdint>
#include <functional>

#include "platform/messages.h"

namespace platform {

class WindowTimer {
public:
  // The window is of className ("TmrWindowClass" for the session's timer).
  explicit WindowTimer(const char* className);
  ~WindowTimer();
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  // (Re)starts the timer with intervalMs; false when the window timer
  // cannot be set.
  bool Start(std::uint32_t intervalMs);
  void Stop();
  // Starts (with intervalMs) or stops the timer; one that already runs is
  // left on its schedule.
  void SetRunning(bool running, std::uint32_t intervalMs);
  bool Running() const { return running_; }

  WindowHandle Window() const { return window_; }

  std::function<void()> OnTick;

private:
  static std::intptr_t Procedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);

  WindowHandle window_ = 0;
  bool running_ = false;
};

}  // namespace platform
