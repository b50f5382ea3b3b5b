// The follow step against each hostile peer: a good tick, the hostile tick,
// a good tick again. A fetch that fails shows "Not connect", keeps panels 1
// to 3 and sends the radio nothing; one that returns shows what it saved;
// the next good tick shows the station again and retunes to it.

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
    form.NMHTTP1->TimeOut = kShortTimeOutMs;
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

    TickOn(peer.HostileUrl());
    EXPECT_FALSE(form.NMHTTP1->GetConnected());
    if (c.raised.empty()) {
      EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
      EXPECT_EQ(view.panels[1], c.shown);
    } else {
      EXPECT_EQ(view.panels[0], "Not connect");
      EXPECT_EQ(view.panels[1], "7050,0");
      EXPECT_EQ(view.panels[2], "SSB");
      EXPECT_EQ(view.panels[3], "");
      EXPECT_TRUE(Told().empty());
    }
    EXPECT_TRUE(view.errorBoxes.empty());

    ClearLog();
    TickOn(peer.GoodUrl());
    EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
    EXPECT_EQ(view.panels[1], "14200,3");
    EXPECT_EQ(view.panels[2], "AM");
    EXPECT_EQ(view.panels[3], "ARX");
    EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  }
  EXPECT_EQ(SettledOpenFileCount(baseline), baseline);
}

INSTANTIATE_TEST_SUITE_P(Peers, HostileFollow, ::testing::ValuesIn(HostileCases()), CaseName);

}  // namespace
