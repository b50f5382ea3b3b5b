#include "panel/fltk/WindowTimer.h"

#include "net/SessionWindow.h"

namespace {
constexpr const char* kClassName = "RavolinWindowTimer";
constexpr std::uintptr_t kTimerId = 1;
}  // namespace

WindowTimer::WindowTimer(std::uint32_t intervalMs, bool enabled) : intervalMs_(intervalMs) {
  window_ = AllocateHiddenWindow(kClassName, Procedure, this);
  SetEnabled(enabled);
}

WindowTimer::~WindowTimer() {
  if (window_ != 0) platform::DestroyHiddenWindow(window_);
}

void WindowTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled)
    platform::StartWindowTimer(window_, kTimerId, intervalMs_);
  else
    platform::StopWindowTimer(window_, kTimerId);
}

std::intptr_t WindowTimer::Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  if (message == platform::kWmTimer && wParam == kTimerId) {
    auto* timer = static_cast<WindowTimer*>(platform::GetWindowOwner(window));
    // A tick queued just before the timer was disabled is not delivered.
    if (timer && timer->enabled_ && timer->OnTimer) timer->OnTimer();
    return 0;
  }
  return platform::DefaultWindowProc(window, message, wParam, lParam);
}
