// The Win32 message backend: what only this backend can get wrong.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/Application.h"
#include "platform/messages.h"
#include "tests/support/PumpUntil.h"

namespace {

using namespace std::chrono_literals;
using testsupport::PumpUntil;

struct Seen {
  std::uint32_t message;
  std::uintptr_t wParam;
};
std::vector<Seen> seen;
std::vector<std::uint32_t> everything;

std::intptr_t RecordingProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  everything.push_back(message);
  if (message == platform::kWmUser + 66) throw std::runtime_error("from the procedure");
  if (message >= platform::kWmUser || message == platform::kWmTimer) {
    seen.push_back({message, wParam});
    return 7;
  }
  return platform::DefaultWindowProc(window, message, wParam, lParam);
}

// Answers 0 to everything, as a careless procedure would.
std::intptr_t ZeroProc(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

class Win32Messages : public ::testing::Test {
protected:
  void SetUp() override {
    if (!platform::IsWindowClassRegistered("Win32TestClass")) {
      ASSERT_TRUE(platform::RegisterWindowClass("Win32TestClass", RecordingProc));
    }
    window = platform::CreateHiddenWindow("Win32TestClass");
    ASSERT_NE(window, 0u);
    seen.clear();
    everything.clear();
  }
  void TearDown() override {
    if (platform::IsWindowAlive(window)) platform::DestroyHiddenWindow(window);
  }
  platform::WindowHandle window = 0;
};

TEST_F(Win32Messages, OwnerSlotKeepsAFullPointer) {
  // Wine hands out low heap addresses, so a pointer truncated to 32 bits
  // would still look right; a top-down allocation is as high as it gets.
  void* high = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
  ASSERT_NE(high, nullptr);
  EXPECT_EQ(platform::GetWindowOwner(window), nullptr);
  platform::SetWindowOwner(window, high);
  EXPECT_EQ(platform::GetWindowOwner(window), high);
  VirtualFree(high, 0, MEM_RELEASE);
}

TEST_F(Win32Messages, OnlyPlatformMessagesReachTheProcedure) {
  ASSERT_TRUE(platform::RegisterWindowClass("Win32ZeroClass", ZeroProc));
  // Creation messages go to the system's default procedure, so a procedure
  // that answers 0 to them does not make window creation fail.
  platform::WindowHandle zero = platform::CreateHiddenWindow("Win32ZeroClass");
  EXPECT_NE(zero, 0u);
  platform::DestroyHiddenWindow(zero);

  platform::WindowHandle other = platform::CreateHiddenWindow("Win32TestClass");
  platform::DestroyHiddenWindow(other);
  for (std::uint32_t message : everything)
    EXPECT_TRUE(message >= platform::kWmUser || message == platform::kWmTimer || message == platform::kWmActivateApp)
        << message;
  EXPECT_EQ(platform::CreateHiddenWindow("NoSuchClass"), 0u);
}

TEST_F(Win32Messages, PostedMessagesKeepTheirOrderWithOrWithoutABeforeStep) {
  std::vector<int> steps;
  platform::PostWindowMessage(window, platform::kWmUser + 1, 1, 0);
  platform::PostWindowMessage(window, platform::kWmUser + 2, 2, 0,
                              [&] { steps.push_back(static_cast<int>(seen.size())); });
  platform::PostWindowMessage(window, platform::kWmUser + 3, 3, 0);
  ASSERT_TRUE(PumpUntil([] { return seen.size() == 3; }));
  EXPECT_EQ(seen[0].wParam, 1u);
  EXPECT_EQ(seen[1].message, platform::kWmUser + 2);
  EXPECT_EQ(seen[2].wParam, 3u);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0], 1);  // after message 1, before message 2
}

TEST_F(Win32Messages, BeforeStepNeverRunsForADestroyedWindow) {
  bool ran = false;
  platform::PostWindowMessage(window, platform::kWmUser + 5, 0, 0, [&] { ran = true; });
  platform::DestroyHiddenWindow(window);
  EXPECT_FALSE(platform::PostWindowMessage(window, platform::kWmUser + 5, 0, 0, [&] { ran = true; }));
  // A message for a live window, posted after, shows the queue was drained.
  platform::WindowHandle later = platform::CreateHiddenWindow("Win32TestClass");
  platform::PostWindowMessage(later, platform::kWmUser + 9, 0, 0);
  ASSERT_TRUE(PumpUntil([] { return !seen.empty(); }));
  EXPECT_FALSE(ran);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, platform::kWmUser + 9);
  platform::DestroyHiddenWindow(later);
}

TEST_F(Win32Messages, AnErrorInADispatchedProcedureGoesToTheApplication) {
  std::vector<std::string> reported;
  SetApplicationExceptionHandler([&](const std::exception& error) { reported.emplace_back(error.what()); });
  platform::PostWindowMessage(window, platform::kWmUser + 66, 0, 0);
  platform::PostWindowMessage(window, platform::kWmUser + 1, 0, 0);
  EXPECT_TRUE(PumpUntil([] { return seen.size() == 1; }));  // the pump goes on after it
  SetApplicationExceptionHandler(nullptr);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], "from the procedure");
  // A direct call hands the error to its caller.
  EXPECT_THROW(platform::SendWindowMessage(window, platform::kWmUser + 66, 0, 0), std::runtime_error);
  EXPECT_EQ(platform::SendWindowMessage(window, platform::kWmUser + 1, 0, 0), 7);
}

TEST_F(Win32Messages, PostsAndWakesFromOtherThreadsEndAWait) {
  std::thread poster([this] { platform::PostWindowMessage(window, platform::kWmUser + 4, 44, 0); });
  ASSERT_TRUE(PumpUntil([] { return !seen.empty(); }));
  poster.join();
  EXPECT_EQ(seen[0].wParam, 44u);

  std::atomic<bool> flag{false};
  std::thread waker([&] {
    flag = true;
    platform::Wake();
  });
  EXPECT_TRUE(PumpUntil([&] { return flag.load(); }));
  waker.join();
}

TEST_F(Win32Messages, ABusyThreadGetsOneTickNotABacklog) {
  constexpr std::uint32_t kIntervalMs = 10;
  ASSERT_TRUE(platform::StartWindowTimer(window, 3, kIntervalMs));
  platform::SleepMs(500);  // busy for fifty intervals
  const auto pumping = std::chrono::steady_clock::now();
  ASSERT_TRUE(PumpUntil([] { return !seen.empty(); }));
  platform::ProcessMessages();
  // One tick for the busy time; more only for intervals that pass while the
  // pump runs, which are many on a slow or emulated machine, never fifty.
  const auto pumpedMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - pumping).count();
  EXPECT_LE(seen.size(), 2u + static_cast<std::size_t>(pumpedMs) / kIntervalMs);
  EXPECT_LT(seen.size(), 50u);
  EXPECT_EQ(seen[0].message, platform::kWmTimer);
  EXPECT_EQ(seen[0].wParam, 3u);
  EXPECT_TRUE(platform::StopWindowTimer(window, 3));
  EXPECT_FALSE(platform::StopWindowTimer(window, 3));
}

TEST_F(Win32Messages, QuitEndsTheLoopButNotANestedWait) {
  platform::PostWindowMessage(window, platform::kWmUser + 1, 0, 0, [] { platform::QuitMessageLoop(); });
  platform::RunMessageLoop();
  EXPECT_EQ(seen.size(), 1u);
  // After the loop ended, pumping works as before.
  platform::PostWindowMessage(window, platform::kWmUser + 2, 0, 0);
  EXPECT_TRUE(PumpUntil([] { return seen.size() == 2; }));
}

}  // namespace
