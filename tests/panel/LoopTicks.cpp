#include "tests/panel/LoopTicks.h"

#include <chrono>

#include "tests/support/PumpUntil.h"

namespace {
constexpr std::uint32_t kPeriodMs = 20;
// Only ends a run whose ticks stall; the fetches bound themselves.
constexpr std::chrono::seconds kStallLimit{30};
}  // namespace

LoopTicks::LoopTicks(TForm1& form) : form_(form), timer_(std::make_unique<TThreadTimer>(nullptr)) {
  timer_->SetEnabled(false);
  timer_->SetInterval(kPeriodMs);
  timer_->SetOnTimer([this](TComponent*) { Tick(); });
}

LoopTicks::~LoopTicks() = default;

void LoopTicks::Tick() {
  if (inTick_) {
    ++nested_;
    form_.Timer1Timer(nullptr);  // the step itself skips it
    return;
  }
  inTick_ = true;
  form_.Timer1Timer(nullptr);
  inTick_ = false;
  if (++completed_ >= target_) timer_->SetEnabled(false);
}

bool LoopTicks::Run(int n) {
  target_ = completed_ + n;
  timer_->SetEnabled(true);
  const bool ran = testsupport::PumpUntil([&] { return completed_ >= target_; }, kStallLimit);
  timer_->SetEnabled(false);
  return ran;
}

int LoopTicks::RunUntil(const std::function<bool()>& done, int n) {
  for (int tick = 1; tick <= n; ++tick) {
    if (!Run(1)) return 0;
    if (done()) return tick;
  }
  return 0;
}
