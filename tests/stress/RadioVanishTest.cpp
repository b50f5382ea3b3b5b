// The radio unplugged in the middle of an exchange, seen from the panel: the
// link keeps both pipes, the operator is told once, the panel goes on (keys,
// buttons, follow ticks) and drops its packets: nothing more reaches the
// library until a probe finds the radio back.
#include "radio/RadioLink.h"
#include "tests/panel/PanelFixture.h"

namespace {

using Strings = std::vector<std::string>;

enum class Trigger { SetButton, FollowTick };

struct Vanish {
  const char* name;
  const char* failOn;  // the call of the second packet that fails
  Trigger trigger;
};

class RadioVanish : public PanelTest, public ::testing::WithParamInterface<Vanish> {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    WriteFile("host.ini", "\n");  // follow freq.ini on disk, no fetch
    // The radio goes after one packet, on the write or the read of the next.
    OpenWith({{"RAVOLIN_SIM_VANISH_AFTER", "1"}, {"RAVOLIN_SIM_FAIL_ON", GetParam().failOn}});
    StartPanel();
    ClearLog();
    ::testing::internal::CaptureStderr();
  }
  void Tick() { form.Timer1Timer(nullptr); }
};

TEST_P(RadioVanish, LinkStaysOpenTheOperatorIsToldOnceAndThePanelGoesOnSendingNothing) {
  const Vanish& v = GetParam();
  if (v.trigger == Trigger::SetButton) {
    form.RunHandler([&] { form.Button15Click(nullptr); });  // frequency packet, then mode packet
  } else {
    WriteFile("freq.ini", "14200\n3\nAM\n1\n");
    Tick();  // tenths packet, then ARX packet
    EXPECT_EQ(view.panels[1], "14200,3");
    EXPECT_EQ(ArxOn, 1);
  }
  const Strings fails = LogLines("FAIL ");
  ASSERT_EQ(fails.size(), 1u);
  EXPECT_EQ(fails[0].rfind(std::string("FAIL ") + v.failOn, 0), 0u) << fails[0];
  EXPECT_NE(fails[0].find("radio gone (ENODEV)"), std::string::npos) << fails[0];
  // On the read the packet went out before the radio went.
  EXPECT_EQ(LogLines("TX ").size(), std::string(v.failOn) == "read" ? 2u : 1u);
  EXPECT_TRUE(LogLines("CLOSE").empty());
  EXPECT_NE(OutPipe, kPipeNotOpen);
  EXPECT_NE(InPipe, kPipeNotOpen);

  ClearLog();
  // Keys: 1 4 2 0 0 , 3 enter 14200 and tenths 3; then SET, AM, ARX, "+".
  for (auto key : {&TForm1::Button4Click, &TForm1::Button7Click, &TForm1::Button5Click, &TForm1::Button14Click,
                   &TForm1::Button14Click, &TForm1::Button13Click, &TForm1::Button6Click})
    form.RunHandler([&] { (form.*key)(nullptr); });
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "3");
  EXPECT_EQ(view.trackBar, 3);
  const int arxBefore = ArxOn;
  form.RunHandler([&] { form.Button15Click(nullptr); });
  form.RunHandler([&] { form.Button16Click(nullptr); });
  form.RunHandler([&] { form.Button18Click(nullptr); });
  form.RunHandler([&] { form.Button20Click(nullptr); });
  EXPECT_EQ(view.edit1, "14201");
  EXPECT_EQ(ModeIsSsb, 0);
  EXPECT_EQ(ArxOn, arxBefore == 0 ? 1 : 0);

  // The follow mode still shows and copies the station.
  WriteFile("freq.ini", "3550\n5\nSSB\n0\n");
  Tick();
  EXPECT_EQ(view.panels[1], "3550,5");
  EXPECT_EQ(view.edit1, "3550");
  EXPECT_EQ(view.trackBar, 5);
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(ArxOn, 0);

  EXPECT_TRUE(LogLines().empty()) << ::testing::PrintToString(LogLines());
  EXPECT_TRUE(view.errorBoxes.empty());
  EXPECT_EQ(RadioLines(::testing::internal::GetCapturedStderr()),
            (Strings{"ravolin: radio: gone (device not connected); packets are dropped until it is back"}));
}

INSTANTIATE_TEST_SUITE_P(Radio, RadioVanish,
                         ::testing::Values(Vanish{"OnTheWriteOfSet", "write", Trigger::SetButton},
                                           Vanish{"OnTheReadOfSet", "read", Trigger::SetButton},
                                           Vanish{"OnTheWriteOfAFollowTick", "write", Trigger::FollowTick},
                                           Vanish{"OnTheReadOfAFollowTick", "read", Trigger::FollowTick}),
                         [](const ::testing::TestParamInfo<Vanish>& param) { return std::string(param.param.name); });

}  // namespace
