#include "net/ThreadTimer.h"

#include "base/Exception.h"
#include "net/SessionWindow.h"

TThreadTimer::TThreadTimer(TComponent* owner) : TComponent(owner), Timer(kTimerWindowClass) {
  Timer.OnTick = [this] { FireTimer(); };
}

TThreadTimer::~TThreadTimer() {
  BeginDestroy();
  Enabled = false;
  Timer.Stop();
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
  Timer.Stop();
  if (Interval != 0 && Enabled && OnTimer) {
    if (!Timer.Start(Interval)) throw Exception("No Timer");
  }
}

void TThreadTimer::FireTimer() { Fire(OnTimer, this); }
