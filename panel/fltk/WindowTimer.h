#pragma once
// A timer on the message loop: while enabled it calls OnTimer every interval
// through a hidden window's window timer. A tick that falls due while the
// thread is busy is delivered once, not queued up.

#include <cstdint>
#include <functional>

#include "platform/messages.h"

class WindowTimer {
public:
  explicit WindowTimer(std::uint32_t intervalMs, bool enabled = true);
  ~WindowTimer();
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  bool Enabled() const { return enabled_; }
  // Enabling a running timer leaves its schedule alone.
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

private:
  static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);

  platform::WindowHandle window_ = 0;
  std::uint32_t intervalMs_;
  bool enabled_ = false;
};
