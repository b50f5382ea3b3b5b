// The simulated radio unplugged and plugged in again while the panel runs on
// the message loop, Timer1 and the radio's probe as real window timers: the
// pipes stay open, clicks while the radio is away reach no library, and
// within 2 s of its return the radio gets the panel's whole state once, with
// follow mode on and with it off. The operator is told once each way.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "bench/loop_panel_view.h"
#include "panel/FormDispatch.h"
#include "radio/RadioLink.h"
#include "radio/RadioPresence.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/PumpUntil.h"

namespace {

using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;
using testsupport::PumpUntil;

constexpr int kSet = 15, kSsb = 17, kArx = 18, kStr = 19, kUp = 20;
const std::string kGone = "ravolin: radio: gone (device not connected); packets are dropped until it is back";
const std::string kBack = "ravolin: radio: back; the panel's state was sent again";

class RadioReplug : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    cable_ = std::filesystem::absolute("radio-unplugged").string();
    WriteFile("host.ini", "\n");  // follow freq.ini on disk
    WriteFile("freq.ini", "7050\n0\nSSB\n0\n");
    OpenWith({{"RAVOLIN_SIM_UNPLUG_FILE", cable_.c_str()}});
    ResetRadioLinkForTesting();
    panel.FormCreate(nullptr);
    looped.Timer1().OnTick = [this] { RunTimer1(panel); };
  }
  void TearDown() override {
    looped.Timer1().OnTick = nullptr;
    PanelTest::TearDown();
  }

  void Unplug() const { std::ofstream{cable_}; }
  void PlugIn() const { std::filesystem::remove(cable_); }

  // A click through the window's dispatch; timed while the radio is away.
  void Click(int button) {
    if (!RadioAway()) return RunButtonClick(panel, button);
    Timed([&] { RunButtonClick(panel, button); });
  }
  void Timed(const std::function<void()>& action) {
    const auto start = Clock::now();
    action();
    slowestClick = std::max(slowestClick, Clock::now() - start);
  }

  // Plugs the radio in and pumps until it has been told four packets: true
  // when that took under 2 s.
  bool PlugInAndWaitForTheState() {
    ClearLog();
    PlugIn();
    return PumpUntil([this] { return Told().size() >= 4; }, std::chrono::milliseconds(2000));
  }

  // Every library call while the radio was away was a probe: a tenths packet
  // that failed.
  void ExpectOnlyProbesReachedTheLibrary() const {
    EXPECT_TRUE(LogLines("TX ").empty());
    for (const std::string& line : LogLines("FAIL ")) EXPECT_EQ(line.rfind("FAIL write 02 ", 0), 0u) << line;
  }

  bench::LoopPanelView looped;
  TForm1 panel{looped, "/usr/local/bin/ravolin"};
  Clock::duration slowestClick{};

private:
  std::string cable_;
};

}  // namespace

TEST_F(RadioReplug, TheReturningRadioGetsThePanelsStateWithFollowModeOnAndOff) {
  ::testing::internal::CaptureStderr();
  void* const out = OutPipe;
  void* const in = InPipe;

  // Follow mode on: the station changes while the radio is away.
  Unplug();
  Click(kSet);
  ASSERT_TRUE(RadioAway());
  ClearLog();
  WriteFile("freq.ini", "14200\n3\nAM\n1\n");
  ASSERT_TRUE(
      PumpUntil([this] { return looped.edit1 == "14200" && looped.trackBar == 3 && ModeIsSsb == 0 && ArxOn == 1; }));
  for (int i = 0; i < 3; ++i) Click(kSet);
  ExpectOnlyProbesReachedTheLibrary();
  ASSERT_TRUE(PlugInAndWaitForTheState());
  Strings told = Told();
  EXPECT_EQ(Strings(told.begin(), told.begin() + 2), (Strings{"tenths 3", "arx on"}));
  EXPECT_EQ(told.size(), 4u);
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  EXPECT_FALSE(RadioAway());

  // Follow mode off: the operator's clicks while the radio is away.
  Click(kStr);
  ASSERT_FALSE(looped.Timer1Enabled());
  Unplug();
  Click(kUp);
  ASSERT_TRUE(RadioAway());
  ClearLog();
  Click(kArx);
  Click(kSsb);
  Timed([&] { RunTrackBarScroll(panel, 7); });
  ExpectOnlyProbesReachedTheLibrary();
  ASSERT_TRUE(PlugInAndWaitForTheState());
  told = Told();
  EXPECT_EQ(Strings(told.begin(), told.begin() + 2), (Strings{"tenths 7", "arx off"}));
  EXPECT_EQ(told.size(), 4u);
  EXPECT_EQ(Tunings(), Strings{"14201 kHz SSB"});

  EXPECT_EQ(OutPipe, out);
  EXPECT_EQ(InPipe, in);
  EXPECT_TRUE(LogLines("CLOSE").empty());
  EXPECT_TRUE(looped.errorBoxes.empty());
  EXPECT_EQ(RadioLines(::testing::internal::GetCapturedStderr()), (Strings{kGone, kBack, kGone, kBack}));
  EXPECT_LT(slowestClick, std::chrono::milliseconds(10));
}
