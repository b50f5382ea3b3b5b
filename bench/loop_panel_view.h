#pragma once
// The stored window of the tests, with Timer1 on the message loop as in the
// real window: running from construction on. For running the panel logic
// without a display.

#include "panel/Timer1.h"
#include "tests/panel/FakePanelView.h"

namespace bench {

class LoopPanelView : public FakePanelView {
public:
  bool Timer1Enabled() const override { return timer_.Enabled(); }
  void SetTimer1Enabled(bool enabled) override { timer_.SetEnabled(enabled); }
  ::Timer1& Timer1() { return timer_; }

private:
  ::Timer1 timer_;
};

}  // namespace bench
