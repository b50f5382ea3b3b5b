// The follow step against each hostile peer: a good tick, the hostile tick,
// a good tick again. A fetch that fails shows "Not connect", keeps panels 1
// to 3 and "freq.ini" as they were, leaves no part file, sends the radio
// nothing and says why on stderr, once; one that succeeds shows what it
// saved; the next good tick shows the station again and retunes to it.

#include "bench/proc_stats.h"
#include "http/NMHttp.h"
#include "panel/PanelState.h"
#include "tests/panel/PanelFixture.h"
#include "tests/stress/HostileCases.h"
#include "tests/stress/OpenFiles.h"

using namespace stresstest;

namespace {

using Strings = std::vector<std::string>;

class HostileFollow : public PanelTest, public ::testing::WithParamInterface<HostileCase> {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    WriteFile("host.ini", "http://127.0.0.1/freq.ini\n");
    StartPanel();
    if (GetParam().followReason == kFollowDeadlineReason) form.FetchBounds.deadlineMs = kFollowDeadlineMs;
  }
  // A tick as if the program had been started with this URL in host.ini.
  void TickOn(const std::string& url) {
    HostUrl = url;
    form.Timer1Timer(nullptr);
  }
};

TEST_P(HostileFollow, ShowsTheOutcomeAndRecoversOnTheNextGoodTick) {
  const HostileCase& c = GetParam();
  WarmUp(*form.NMHTTP1);
  const int baseline = bench::OpenDescriptors();
  {
    HostilePeer peer(c, {GoodAnswer(kGoodBefore)});
    TickOn(peer.GoodUrl());
    ASSERT_EQ(view.panels[1], "7050,0");
    ClearLog();
    ::testing::internal::CaptureStderr();

    TickOn(peer.HostileUrl());
    EXPECT_FALSE(form.NMHTTP1->GetConnected());
    if (c.followReason.empty()) {
      EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
      EXPECT_EQ(view.panels[1], "3550,5");
      EXPECT_EQ(ReadFile("freq.ini"), c.body.value_or(""));
    } else {
      EXPECT_EQ(view.panels[0], "Not connect");
      EXPECT_EQ(view.panels[1], "7050,0");
      EXPECT_EQ(view.panels[2], "SSB");
      EXPECT_EQ(view.panels[3], "");
      EXPECT_EQ(ReadFile("freq.ini"), kGoodBefore);
      EXPECT_TRUE(Told().empty());
    }
    EXPECT_EQ(FilesHere(), (std::set<std::string>{"freq.ini", "host.ini"}));
    EXPECT_TRUE(view.errorBoxes.empty());

    ClearLog();
    TickOn(peer.GoodUrl());
    EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
    EXPECT_EQ(view.panels[1], "14200,3");
    EXPECT_EQ(view.panels[2], "AM");
    EXPECT_EQ(view.panels[3], "ARX");
    EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});

    Strings reported;
    if (!c.followReason.empty())
      reported = {"ravolin: following " + peer.HostileUrl() + " failed: " + c.followReason,
                  "ravolin: following " + peer.GoodUrl() + " works again"};
    EXPECT_EQ(FollowLines(::testing::internal::GetCapturedStderr()), reported);
  }
  EXPECT_EQ(SettledOpenFileCount(baseline), baseline);
}

INSTANTIATE_TEST_SUITE_P(Peers, HostileFollow, ::testing::ValuesIn(HostileCases()), CaseName);

}  // namespace
