// The follow step against freq.ini on disk (host.ini with an empty first
// line, so nothing is fetched) and against a fetch that fails.
#include "tests/panel/PanelFixture.h"

namespace {

using Strings = std::vector<std::string>;

class Follow : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    WriteFile("host.ini", "\n");
    StartPanel();
    ClearLog();
  }
  void Tick() { form.Timer1Timer(nullptr); }
};

TEST_F(Follow, ARemoteChangeRetunesOnceAndTheNextTickIsQuiet) {
  WriteFile("freq.ini", "14200\n3\nAM\n1\n");
  Tick();
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "3");
  EXPECT_EQ(view.trackBar, 3);
  EXPECT_EQ(ModeIsSsb, 0);
  EXPECT_EQ(ArxOn, 1);
  EXPECT_EQ(view.panels[1], "14200,3");
  EXPECT_EQ(view.panels[2], "AM");
  EXPECT_EQ(view.panels[3], "ARX");
  EXPECT_FALSE(view.panels[0].empty());
  EXPECT_FALSE(view.panels[5].empty());
  ASSERT_EQ(Told().size(), 4u);
  EXPECT_EQ(Told()[0], "tenths 3");
  EXPECT_EQ(Told()[1], "arx on");
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});

  ClearLog();
  Tick();
  EXPECT_TRUE(Told().empty());
}

TEST_F(Follow, TextsThatAreNotModesOrArxChangeNothingButArxOff) {
  ArxOn = 1;
  for (const char* mode : {"FM", "am", "ssb"}) {
    WriteFile("freq.ini", std::string("7050\n0\n") + mode + "\non\n");
    Tick();
    EXPECT_EQ(view.panels[2], mode);
    EXPECT_EQ(view.panels[3], "");
    EXPECT_EQ(ModeIsSsb, 1);
  }
  EXPECT_EQ(ArxOn, 0);
  EXPECT_EQ(Told(), Strings{"arx off"});
}

TEST_F(Follow, TenthsTwelveClampsThenCopiesOnceMoreThenSettles) {
  view.trackBar = 3;
  WriteFile("freq.ini", "7050\n12\nSSB\n0\n");
  Tick();
  EXPECT_EQ(view.trackBar, 9);
  EXPECT_EQ(view.edit2, "9");
  EXPECT_EQ(Told()[0], "tenths 9");
  EXPECT_EQ(Tunings().size(), 1u);

  ClearLog();
  Tick();
  EXPECT_EQ(view.edit2, "12");
  EXPECT_EQ(Told().size(), 2u);  // the frequency and mode packets, no tenths
  EXPECT_EQ(Tunings(), Strings{"7050 kHz SSB"});

  ClearLog();
  Tick();
  EXPECT_TRUE(Told().empty());
}

TEST_F(Follow, ManualChangesLastUntilTheNextTick) {
  WriteFile("freq.ini", "7050\n0\nSSB\n0\n");
  Tick();
  ClearLog();
  form.RunHandler([&] { form.Button20Click(nullptr); });
  form.Button16Click(nullptr);
  form.Button18Click(nullptr);
  ClearLog();
  Tick();
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(ArxOn, 0);
  EXPECT_EQ(Tunings(), Strings{"7050 kHz SSB"});
}

TEST_F(Follow, ATenthsLineThatIsNotANumberSendsNothingAndIsNotRetried) {
  WriteFile("freq.ini", "14200\nx\nSSB\n0\n");
  Tick();
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "x");
  EXPECT_TRUE(Tunings().empty());
  Tick();
  EXPECT_TRUE(Told().empty());
}

TEST_F(Follow, StrOffStopsTheTicksItDrives) {
  form.Button19Click(nullptr);
  EXPECT_FALSE(view.timer1);
}

TEST_F(Follow, ATickDueInsideARunningTickIsSkippedWhole) {
  WriteFile("freq.ini", "14200\n3\nAM\n1\n");
  int nested = 0;
  view.onPanelSet = [&](int index) {
    if (index != 1 || nested++ > 0) return;
    const std::string before = view.edit1;
    Tick();
    EXPECT_EQ(view.edit1, before);  // the nested tick changed nothing
  };
  Tick();
  EXPECT_EQ(nested, 2);
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  ClearLog();
  view.onPanelSet = nullptr;
  Tick();  // the guard was released
  EXPECT_TRUE(Told().empty());
  WriteFile("freq.ini", "7050\n0\nAM\n1\n");
  Tick();
  EXPECT_EQ(Tunings(), Strings{"7050 kHz AM"});
}

// No host.ini: the URL reads "0", which can't be fetched.
class FailedFetch : public PanelTest {};

TEST_F(FailedFetch, FirstTickWithoutFreqIniShowsNotConnectAndRetunesToZero) {
  StartPanel();
  ClearLog();
  form.Timer1Timer(nullptr);
  EXPECT_EQ(view.panels[0], "Not connect");
  EXPECT_EQ(view.panels[1], "");
  EXPECT_EQ(view.edit1, "0");
  EXPECT_EQ(view.edit2, "0");
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(Tunings().size(), 1u);
  // Until a poll completes panel 1 stays empty and every tick retunes.
  ClearLog();
  form.Timer1Timer(nullptr);
  EXPECT_EQ(Tunings().size(), 1u);
}

}  // namespace
