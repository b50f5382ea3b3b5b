#pragma once
// A timer component on a hidden window of its own. Its ticks are ordinary
// window-timer messages on the thread that created it (no thread is started,
// whatever the name says). It runs exactly when Interval is not 0, Enabled is
// true and OnTimer is set.

#include <cstdint>

#include "base/Component.h"
#include "base/Events.h"
#include "platform/window_timer.h"

class TThreadTimer : public TComponent {
public:
  explicit TThreadTimer(TComponent* owner);
  ~TThreadTimer() override;

  bool GetEnabled() const { return Enabled; }
  void SetEnabled(bool value);  // an unchanged value does nothing
  std::uint32_t GetInterval() const { return Interval; }
  void SetInterval(std::uint32_t value);  // an unchanged value does nothing
  const TNotifyEvent& GetOnTimer() const { return OnTimer; }
  void SetOnTimer(TNotifyEvent value);  // always updates the window timer

  platform::WindowHandle WindowHandle() const { return Timer.Window(); }

protected:
  // One tick: calls OnTimer with the timer as Sender.
  virtual void FireTimer();

private:
  // Stops the window timer, then starts it again if the timer should run.
  // Raises Exception "No Timer" when the window timer cannot be started.
  void UpdateTimer();

  std::uint32_t Interval = 1000;
  platform::WindowTimer Timer;
  TNotifyEvent OnTimer;
  bool Enabled = true;
};
