#include "platform/window_timer.h"

#include "base/Application.h"
#include "base/Assert.h"

namespace platform {
namespace {
constexpr std::uintptr_t kTimerId = 1;
}

WindowTimer::WindowTimer(const char* className) { window_ = AllocateHiddenWindow(className, Procedure, this); }

WindowTimer::~WindowTimer() {
  Stop();
  if (window_ != 0) DestroyHiddenWindow(window_);
}

bool WindowTimer::Start(std::uint32_t intervalMs) {
  RAVOLIN_ASSERT(window_ == 0 || IsWindowAlive(window_), "the timer's window lives as long as the timer");
  running_ = StartWindowTimer(window_, kTimerId, intervalMs);
  return running_;
}

void WindowTimer::Stop() {
  StopWindowTimer(window_, kTimerId);
  running_ = false;
}

void WindowTimer::SetRunning(bool running, std::uint32_t intervalMs) {
  if (running == running_) return;
  if (running)
    Start(intervalMs);
  else
    Stop();
}

std::intptr_t WindowTimer::Procedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  auto* timer = static_cast<WindowTimer*>(GetWindowOwner(window));
  if (timer == nullptr) return DefaultWindowProc(window, message, wParam, lParam);
  if (message == kWmActivateApp) return 0;
  if (message == kWmTimer) {
    // Every tick that reaches the window counts: the backends drop those
    // still queued when the timer stops.
    if (timer->OnTick) RunReportingErrors(timer->OnTick);
    return 0;
  }
  return DefaultWindowProc(window, message, wParam, lParam);
}

}  // namespace platform
