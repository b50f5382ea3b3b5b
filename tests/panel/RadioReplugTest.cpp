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

constexpr int kSet = 15, kSsb = 17, kArx = 18, kStr = 19, kUp = 20, kComma = 13, kSeven = 10;
const std::string kGone = "ravolin: radio: gone (device not connected); packets are dropped until it is back";
const std::string kBack = "ravolin: radio: back; the panel's state was sent again";

class RadioReplug : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    WriteFile("host.ini", "\n");  // follow freq.ini on disk
    WriteFile("freq.ini", "7050\n0\nSSB\n0\n");
    OpenWith({{"RAVOLIN_SIM_UNPLUG_FILE", cable.c_str()}});
    ResetRadioLinkForTesting();
    panel.FormCreate(nullptr);
    looped.Timer1().OnTick = [this] { RunTimer1(panel); };
  }

  // A click through the window's dispatch, timed while the radio is away.
  void Click(int button) {
    const bool away = RadioAway();
    const auto start = Clock::now();
    RunButtonClick(panel, button);
    if (away) slowestClick = std::max(slowestClick, Clock::now() - start);
  }

  // Pulls the cable and finds the radio gone with a click; the log then
  // starts afresh.
  void UnplugAtAClick(int button) {
    std::ofstream{cable};
    Click(button);
    ASSERT_TRUE(RadioAway());
    ClearLog();
  }

  // Every library call while the radio was away was a probe, a tenths packet
  // that failed; then the cable goes back in, and within 2 s the radio has
  // been told four packets. Returns what it was told.
  Strings PlugInAndWaitForTheState() {
    EXPECT_TRUE(LogLines("TX ").empty());
    for (const std::string& line : LogLines("FAIL ")) EXPECT_EQ(line.rfind("FAIL write 02 ", 0), 0u) << line;
    ClearLog();
    std::filesystem::remove(cable);
    EXPECT_TRUE(PumpUntil([this] { return Told().size() >= 4; }, std::chrono::milliseconds(2000)));
    EXPECT_FALSE(RadioAway());
    return Told();
  }

  const std::string cable = std::filesystem::absolute("radio-unplugged").string();
  bench::LoopPanelView looped;
  TForm1 panel{looped, "/usr/local/bin/ravolin"};
  Clock::duration slowestClick{};
};

}  // namespace

TEST_F(RadioReplug, TheReturningRadioGetsThePanelsStateWithFollowModeOnAndOff) {
  ::testing::internal::CaptureStderr();
  void* const out = OutPipe;
  void* const in = InPipe;

  // Follow mode on: the station changes while the radio is away.
  UnplugAtAClick(kSet);
  WriteFile("freq.ini", "14200\n3\nAM\n1\n");
  ASSERT_TRUE(
      PumpUntil([this] { return looped.edit1 == "14200" && looped.trackBar == 3 && ModeIsSsb == 0 && ArxOn == 1; }));
  for (int i = 0; i < 3; ++i) Click(kSet);
  EXPECT_EQ(PlugInAndWaitForTheState(),
            (Strings{"tenths 3", "arx on", "freq-word N=35022", "mode AM even -> 14200 kHz AM"}));

  // Follow mode off: the operator's clicks while the radio is away.
  Click(kStr);
  ASSERT_FALSE(looped.Timer1Enabled());
  UnplugAtAClick(kUp);
  for (int button : {kArx, kSsb, kComma, kSeven}) Click(button);
  EXPECT_EQ(PlugInAndWaitForTheState(),
            (Strings{"tenths 7", "arx off", "freq-word N=35023", "mode SSB odd -> 14201 kHz SSB"}));

  EXPECT_EQ(OutPipe, out);
  EXPECT_EQ(InPipe, in);
  EXPECT_TRUE(LogLines("CLOSE").empty());
  EXPECT_TRUE(looped.errorBoxes.empty());
  EXPECT_EQ(RadioLines(::testing::internal::GetCapturedStderr()), (Strings{kGone, kBack, kGone, kBack}));
  EXPECT_LT(slowestClick, std::chrono::milliseconds(10));
}
