#pragma once
// Timer1, the follow mode's timer, as every window of the panel has it: a
// window timer that runs every 1000 ms from creation on. Enabling it while it
// runs leaves its schedule alone; a tick that falls due while the thread is
// busy is delivered once.

#include "panel/PanelConstants.h"
#include "platform/window_timer.h"

class Timer1 : public platform::WindowTimer {
public:
  Timer1() : WindowTimer(panel::kTimer1WindowClass) { Start(panel::kTimer1IntervalMs); }
  bool Enabled() const { return Running(); }
  void SetEnabled(bool enabled) { SetRunning(enabled, panel::kTimer1IntervalMs); }
};
