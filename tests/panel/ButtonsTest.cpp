// Mode, ARX, STR, "+" and "-", the track bar and the error box.
#include "tests/panel/PanelFixture.h"

#include "base/Exception.h"

namespace {

using Strings = std::vector<std::string>;
using Box = std::pair<std::string, std::string>;

TEST_F(PanelTest, PlusAndMinusStepTheFrequencyWithoutBounds) {
  form.RunHandler([&] { form.Button20Click(nullptr); });
  EXPECT_EQ(view.edit1, "7051");
  view.edit1 = "0";
  form.RunHandler([&] { form.Button21Click(nullptr); });
  EXPECT_EQ(view.edit1, "-1");
  view.edit1 = "99999";
  form.RunHandler([&] { form.Button20Click(nullptr); });
  EXPECT_EQ(view.edit1, "100000");
  EXPECT_EQ(Tunings().size(), 3u);
  EXPECT_EQ(Tunings().front(), "7051 kHz SSB");
  EXPECT_TRUE(view.errorBoxes.empty());
}

TEST_F(PanelTest, PlusOnTheLargestIntegerDoesNotWrapAround) {
  view.edit1 = "2147483647";
  form.RunHandler([&] { form.Button20Click(nullptr); });
  EXPECT_EQ(view.edit1, "2147483648");
  EXPECT_TRUE(Told().empty());  // not an integer any more: nothing sent
}

TEST_F(PanelTest, PlusAndMinusOnAWordShowTheErrorBoxAndChangeNothing) {
  view.edit1 = "abc";
  EntryCount = 3;
  form.RunHandler([&] { form.Button20Click(nullptr); });
  form.RunHandler([&] { form.Button21Click(nullptr); });
  EXPECT_EQ(view.errorBoxes, (std::vector<Box>{{"Ravolin", "'abc' is not a valid integer value."},
                                               {"Ravolin", "'abc' is not a valid integer value."}}));
  EXPECT_EQ(view.edit1, "abc");
  EXPECT_EQ(EntryCount, 3);
  EXPECT_TRUE(Told().empty());
}

TEST_F(PanelTest, RunHandlerReportsOnlyWhatEscapes) {
  int after = 0;
  form.RunHandler([&] {
    throw Exception("Stop!");
    ++after;
  });
  form.RunHandler([] { throw 42; });
  form.RunHandler([&] { ++after; });
  EXPECT_EQ(after, 1);
  ASSERT_EQ(view.errorBoxes.size(), 2u);
  EXPECT_EQ(view.errorBoxes[0], (Box{"Ravolin", "Stop!"}));
}

TEST_F(PanelTest, AmThenSsbOnAWordSendNothingButSetTheMode) {
  view.edit1 = "abc";
  EntryCount = 2;
  form.Button16Click(nullptr);
  EXPECT_EQ(ModeIsSsb, 0);
  form.Button17Click(nullptr);
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(EntryCount, 2);
  EXPECT_TRUE(Told().empty());
  EXPECT_EQ(view.panels[2], "SSB");
  EXPECT_TRUE(view.errorBoxes.empty());
}

TEST_F(PanelTest, AmAndSsbRetuneWithTheirMode) {
  form.Button16Click(nullptr);
  form.Button17Click(nullptr);
  EXPECT_EQ(Tunings(), (Strings{"7050 kHz AM", "7050 kHz SSB"}));
}

TEST_F(PanelTest, ArxTogglesAndSendsEachTime) {
  EntryCount = 4;
  form.Button18Click(nullptr);
  EXPECT_EQ(ArxOn, 1);
  form.Button18Click(nullptr);
  EXPECT_EQ(ArxOn, 0);
  EXPECT_EQ(Told(), (Strings{"arx on", "arx off"}));
  EXPECT_EQ(EntryCount, 4);
  EXPECT_EQ(view.panels[3], "");
}

TEST_F(PanelTest, StrTwiceStopsAndRestartsTheFollowMode) {
  form.Button19Click(nullptr);
  EXPECT_EQ(view.panels[4], "");
  EXPECT_FALSE(view.timer1);
  form.Button19Click(nullptr);
  EXPECT_EQ(view.panels[4], "Stream");
  EXPECT_TRUE(view.timer1);
  EXPECT_TRUE(Told().empty());
}

TEST_F(PanelTest, SettingTheTrackBarClampsAndNotifiesOnlyOnChange) {
  form.SetTrackBarPosition(0);
  EXPECT_TRUE(Told().empty());
  form.SetTrackBarPosition(12);
  EXPECT_EQ(view.trackBar, 9);
  EXPECT_EQ(view.edit2, "9");
  form.SetTrackBarPosition(9);
  form.SetTrackBarPosition(-3);
  EXPECT_EQ(view.trackBar, 0);
  EXPECT_EQ(Told(), (Strings{"tenths 9", "tenths 0"}));
}

TEST_F(PanelTest, EveryScrollNotificationSendsTheTenthsAgain) {
  form.TrackBarScrolled(4);
  form.TrackBarScrolled(4);
  form.TrackBarScrolled(5);
  form.TrackBarScrolled(5);
  EXPECT_EQ(view.edit2, "5");
  EXPECT_EQ(Told(), (Strings{"tenths 4", "tenths 4", "tenths 5", "tenths 5"}));
}

TEST_F(PanelTest, FormCreateReadsTheHostOnceAndSendsNothing) {
  WriteFile("host.ini", "http://127.0.0.1:1/freq.txt\nignored\n");
  StartPanel();
  EXPECT_EQ(HostUrl, "http://127.0.0.1:1/freq.txt");
  EXPECT_TRUE(Told().empty());
}

TEST_F(PanelTest, FormCreateWithoutHostFileReadsZero) {
  StartPanel();
  EXPECT_EQ(HostUrl, "0");
}

}  // namespace
