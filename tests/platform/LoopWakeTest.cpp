// A posted message must wake whatever loop the thread is blocked in, the
// pump's own waits and FLTK's loop run directly (as a modal dialog runs it),
// whether the poster is the loop's own thread or another one.
#include <FL/Fl.H>

#include <gtest/gtest.h>

#include <thread>

#include "platform/messages.h"
#include "tests/platform/Rescue.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kPing = platform::kWmUser + 7;
int pings = 0;

std::intptr_t PingProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
  if (message != kPing) return platform::DefaultWindowProc(window, message, wParam, lParam);
  ++pings;
  return 0;
}

class LoopWake : public ::testing::Test {
protected:
  void SetUp() override {
    window = platform::AllocateHiddenWindow("LoopWakeTest", PingProc, nullptr);
    ASSERT_NE(window, 0u);
    platform::ProcessMessages();  // nothing left over from earlier tests
    pings = 0;
  }
  void TearDown() override { platform::DestroyHiddenWindow(window); }

  // Runs FLTK's loop directly, as a modal dialog does, until the ping came
  // or the rescue had to end a wait.
  static void WaitForeign(Rescue& rescue, int wanted) {
    while (pings < wanted && !rescue.Fired()) Fl::wait(60.0);
  }

  platform::WindowHandle window = 0;
};

TEST_F(LoopWake, PostsFromTheLoopThreadWakeAForeignLoop) {
  Rescue rescue(10s);
  ASSERT_TRUE(platform::PostWindowMessage(window, kPing, 0, 0));
  WaitForeign(rescue, 1);
  // A second post after the first was handled wakes it again.
  ASSERT_TRUE(platform::PostWindowMessage(window, kPing, 0, 0));
  WaitForeign(rescue, 2);
  rescue.Stop();
  EXPECT_EQ(pings, 2);
  EXPECT_FALSE(rescue.Fired());
}

TEST_F(LoopWake, PostsFromAWindowTimerWakeAForeignLoop) {
  // Timer ticks are posted from inside FLTK's loop; one must reach the
  // window without the pump's help.
  const platform::WindowHandle ticking = platform::AllocateHiddenWindow(
      "LoopWakeTimerTest",
      [](platform::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        if (m == platform::kWmTimer) ++pings;
        return platform::DefaultWindowProc(w, m, wp, lp);
      },
      nullptr);
  ASSERT_NE(ticking, 0u);
  ASSERT_TRUE(platform::StartWindowTimer(ticking, 1, 20));
  Rescue rescue(10s);
  WaitForeign(rescue, 3);
  rescue.Stop();
  platform::DestroyHiddenWindow(ticking);
  EXPECT_GE(pings, 3);
  EXPECT_FALSE(rescue.Fired());
}

TEST_F(LoopWake, PostsFromAnotherThreadWakeAForeignLoopAndThePump) {
  Rescue rescue(10s);
  std::thread([this] { platform::PostWindowMessage(window, kPing, 0, 0); }).join();
  WaitForeign(rescue, 1);
  std::thread poster([this] { platform::PostWindowMessage(window, kPing, 0, 0); });
  while (pings < 2 && !rescue.Fired()) platform::WaitAndProcessMessages(60000);
  poster.join();
  rescue.Stop();
  EXPECT_EQ(pings, 2);
  EXPECT_FALSE(rescue.Fired());
}

}  // namespace
