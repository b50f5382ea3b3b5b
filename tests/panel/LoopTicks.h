#pragma once
// Timer1 of a panel under test as a real window timer on the message loop,
// at a short period: ticks that come due while a fetch pumps the loop reach
// the follow step nested inside the running one, as in the program.

#include <functional>
#include <memory>

#include "net/ThreadTimer.h"
#include "panel/Unit1.h"

class LoopTicks {
public:
  explicit LoopTicks(TForm1& form);
  ~LoopTicks();
  LoopTicks(const LoopTicks&) = delete;
  LoopTicks& operator=(const LoopTicks&) = delete;

  // Runs the loop until n more ticks have completed; false when they did
  // not within a generous limit.
  bool Run(int n);
  // Runs ticks until done holds after one of them, at most n; the ticks it
  // took, or 0 when done never held.
  int RunUntil(const std::function<bool()>& done, int n);

  int Completed() const { return completed_; }
  // Ticks that came due inside a running tick.
  int Nested() const { return nested_; }

private:
  void Tick();

  TForm1& form_;
  std::unique_ptr<TThreadTimer> timer_;
  bool inTick_ = false;
  int completed_ = 0;
  int nested_ = 0;
  int target_ = 0;
};
