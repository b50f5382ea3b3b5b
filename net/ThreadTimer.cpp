#include "net/ThreadTimer.h"

#include "base/Application.h"
#include "base/Exception.h"
#include "net/SessionWindow.h"

namespace {
constexpr std::uintptr_t kTimerId = 1;
}

TThreadTimer::TThreadTimer(TComponent* owner) : TComponent(owner) {
  Window = AllocateHiddenWindow(kTimerWindowClass, TimerWindowProc, this);
}

TThreadTimer::~TThreadTimer() {
  BeginDestroy();
  Enabled = false;
  try {
    UpdateTimer();
  } catch (...) {
    // Stopping never fails; nothing to report while tearing down.
  }
  if (Window != 0) platform::DestroyHiddenWindow(Window);
}

void TThreadTimer::SetEnabled(bool value) {
  if (value == Enabled) return;
  Enabled = value;
  UpdateTimer();
}

void TThreadTimer::SetInterval(std::uint32_t value) {
  if (value == Interval) return;
  Interval = value;
  UpdateTimer();
}

void TThreadTimer::SetOnTimer(TNotifyEvent value) {
  OnTimer = std::move(value);
  UpdateTimer();
}

void TThreadTimer::UpdateTimer() {
  platform::StopWindowTimer(Window, kTimerId);
  if (Interval != 0 && Enabled && OnTimer) {
    if (!platform::StartWindowTimer(Window, kTimerId, Interval)) throw Exception("No Timer");
  }
}

void TThreadTimer::FireTimer() { Fire(OnTimer, this); }

std::intptr_t TThreadTimer::TimerWindowProc(platform::WindowHandle window, std::uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam) {
  auto* timer = static_cast<TThreadTimer*>(platform::GetWindowOwner(window));
  if (timer == nullptr) return platform::DefaultWindowProc(window, message, wParam, lParam);
  if (message == platform::kWmActivateApp) return 0;
  if (message == platform::kWmTimer) {
    try {
      timer->FireTimer();
    } catch (const std::exception& error) {
      HandleApplicationException(error);
    }
    return 0;
  }
  return platform::DefaultWindowProc(window, message, wParam, lParam);
}
