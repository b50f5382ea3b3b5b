// The window timer object that the session's time-out and Timer1 are made
// of, on whichever backend the build has.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/window_timer.h"
#include "tests/support/PumpUntil.h"

using namespace std::chrono_literals;
using testsupport::PumpUntil;

namespace {
constexpr const char* kClass = "WindowTimerTestClass";
}

TEST(WindowTimer, TicksWhileRunningAndStopsWhenStopped) {
  platform::WindowTimer timer(kClass);
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  ASSERT_TRUE(timer.Start(10));
  EXPECT_TRUE(timer.Running());
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));

  timer.Stop();
  EXPECT_FALSE(timer.Running());
  const int stoppedAt = ticks;
  // Another timer proves the loop ran long enough for several ticks.
  platform::WindowTimer witness(kClass);
  int witnessTicks = 0;
  witness.OnTick = [&] { ++witnessTicks; };
  ASSERT_TRUE(witness.Start(10));
  ASSERT_TRUE(PumpUntil([&] { return witnessTicks >= 5; }));
  EXPECT_EQ(ticks, stoppedAt);
}

// Timer1's rule: enabling a timer that runs leaves it alone, schedule and
// interval both; only a stopped one starts with the interval given.
TEST(WindowTimer, SetRunningOnARunningTimerLeavesItAlone) {
  platform::WindowTimer timer(kClass);
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  timer.SetRunning(true, 10);
  timer.SetRunning(true, 60000);  // were it restarted, it would not tick again for a minute
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 5; }, 3000ms));
  timer.SetRunning(false, 10);
  EXPECT_FALSE(timer.Running());
}

TEST(WindowTimer, ItsWindowGoesWithIt) {
  platform::WindowHandle window = 0;
  {
    platform::WindowTimer timer(kClass);
    window = timer.Window();
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(platform::IsWindowAlive(window));
    EXPECT_EQ(platform::GetWindowOwner(window), &timer);
    ASSERT_TRUE(timer.Start(10));
  }
  EXPECT_FALSE(platform::IsWindowAlive(window));
  // A tick that was due for it reaches nothing.
  for (int pass = 0; pass < 5; ++pass) platform::WaitAndProcessMessages(10);
}
