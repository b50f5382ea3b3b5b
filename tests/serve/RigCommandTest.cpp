// The rig-control command set: every command in its short and long form,
// the frequency and mode sets with the packets they cause, and what is
// refused.
#include "tests/serve/RigFixture.h"

#include "base/Exception.h"
#include "serve/RigCapabilities.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(RigTest, ShortAndLongFormsGiveTheSameAnswers) {
  struct Form {
    const char* shortForm;
    const char* longForm;
    const char* answer;
  };
  for (const Form& f : {Form{"f", "\\get_freq", "7050000\n"}, Form{"m", "\\get_mode", "USB\n2700\n"},
                        Form{"v", "\\get_vfo", "VFOA\n"}, Form{"V VFOA", "\\set_vfo VFOA", "RPRT 0\n"},
                        Form{"t", "\\get_ptt", "0\n"}, Form{"s", "\\get_split_vfo", "0\nVFOA\n"},
                        Form{"M USB 0", "\\set_mode USB 0", "RPRT 0\n"},
                        Form{"F 7050000", "\\set_freq 7050000", "RPRT 0\n"}}) {
    EXPECT_EQ(Ask(f.shortForm), f.answer) << f.shortForm;
    EXPECT_EQ(Ask(f.longForm), f.answer) << f.longForm;
  }
  EXPECT_EQ(Ask("\\chk_vfo"), "0\n");
  EXPECT_EQ(Ask("\\get_powerstat"), "1\n");
  EXPECT_EQ(Ask("\\get_lock_mode"), "0\nRPRT 0\n");
  EXPECT_EQ(Ask("\\dump_state"), DumpStateText(true));  // this client asked \chk_vfo above
  EXPECT_EQ(Ask("  f \t"), "7050000\n");
}

TEST_F(RigTest, QuitAnswersAndClosesInEveryForm) {
  for (const char* quit : {"q", "Q", "\\quit", "+q", ";q"}) {
    const RigAnswer answer = rig.Answer(quit, client);
    EXPECT_EQ(answer.text, "RPRT 0\n");
    EXPECT_TRUE(answer.close);
  }
  EXPECT_FALSE(rig.Answer("f", client).close);
}

TEST_F(RigTest, SetFrequencyKeysTheDigitsCommaTenthsAndSet) {
  EXPECT_EQ(Ask("F 14200300.000000"), "RPRT 0\n");
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "3");
  EXPECT_EQ(view.trackBar, 3);
  EXPECT_EQ(EntryCount, 0);
  ASSERT_EQ(Told().size(), 3u);
  EXPECT_EQ(Told()[0], "tenths 3");
  EXPECT_EQ(Tunings(), Strings{"14200 kHz SSB"});
  EXPECT_EQ(Ask("f"), "14200300\n");

  ClearLog();  // the same tenths again: no tenths packet, as on the keypad
  EXPECT_EQ(Ask("F 1000300"), "RPRT 0\n");
  EXPECT_EQ(view.edit1, "1000");
  EXPECT_EQ(Told().size(), 2u);
  EXPECT_EQ(Tunings(), Strings{"1000 kHz SSB"});
}

TEST_F(RigTest, SetFrequencyRoundsToTheNearestHundredHertz) {
  struct Case {
    const char* hertz;
    const char* edit1;
    int tenths;
  };
  for (const Case& c : {Case{"7050049.999", "7050", 0}, Case{"7050050", "7050", 1}, Case{"7050150.000000", "7050", 2},
                        Case{"14200349", "14200", 3}, Case{"7.05e6", "7050", 0}, Case{"999999", "1000", 0},
                        Case{"950", "1", 0}, Case{"99999949.9", "99999", 9}}) {
    EXPECT_EQ(Ask(std::string("F ") + c.hertz), "RPRT 0\n") << c.hertz;
    EXPECT_EQ(view.edit1, c.edit1) << c.hertz;
    EXPECT_EQ(view.trackBar, c.tenths) << c.hertz;
  }
}

TEST_F(RigTest, SetFrequencyRefusesWhatTheKeypadCannotEnterAndSendsNothing) {
  for (const char* line : {"F 949.99", "F 0", "F 99999950", "F 100000000", "F -7050000", "F abc", "F 7050000Hz",
                           "F 0x6b9190", "F inf", "F nan", "F +7050000", "F 1e300", "F", "F 7050000 VFOA"}) {
    EXPECT_EQ(Ask(line), "RPRT -1\n") << line;
  }
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_TRUE(Told().empty());
}

TEST_F(RigTest, SetFrequencyReplacesAHalfKeyedEntry) {
  form.Button4Click(nullptr);  // "1"
  form.Button7Click(nullptr);  // "4"
  ASSERT_EQ(EntryCount, 2);
  EXPECT_EQ(Ask("F 7050500"), "RPRT 0\n");
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(view.edit2, "5");
  EXPECT_EQ(Tunings(), Strings{"7050 kHz SSB"});
}

TEST_F(RigTest, GetFrequencyReadsTheTrackBarsTenthsAndNeedsANumberInEdit1) {
  view.edit1 = "3500";
  view.edit2 = "12";  // a follow file's text; the radio got the clamped 9
  view.trackBar = 9;
  EXPECT_EQ(Ask("f"), "3500900\n");
  view.edit1 = "abc";
  EXPECT_EQ(Ask("f"), "RPRT -11\n");
  view.edit1 = "-1";
  EXPECT_EQ(Ask("f"), "RPRT -11\n");
}

TEST_F(RigTest, SetModePressesAmOrSsbAndGetModeNamesTheSideband) {
  EXPECT_EQ(Ask("M AM 0"), "RPRT 0\n");
  EXPECT_EQ(ModeIsSsb, 0);
  EXPECT_EQ(Ask("m"), "AM\n6000\n");
  EXPECT_EQ(Ask("M LSB 2400"), "RPRT 0\n");
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(Ask("m"), "LSB\n2700\n");
  EXPECT_EQ(Ask("M SSB"), "RPRT 0\n");  // SSB keeps the sideband last set
  EXPECT_EQ(Ask("m"), "LSB\n2700\n");
  EXPECT_EQ(Ask("M USB -1"), "RPRT 0\n");
  EXPECT_EQ(Ask("m"), "USB\n2700\n");
  EXPECT_EQ(Tunings(), (Strings{"7050 kHz AM", "7050 kHz SSB", "7050 kHz SSB", "7050 kHz SSB"}));

  form.Button16Click(nullptr);  // the operator's AM shows at once
  EXPECT_EQ(Ask("m"), "AM\n6000\n");
}

TEST_F(RigTest, SetModeRefusesOtherModesAndBadPassbandsAndSendsNothing) {
  for (const char* line : {"M CW 0", "M FM 0", "M am 0", "M ?x", "M", "M USB abc", "M USB 2400.5", "M AM 0 1",
                           "M USB 0x100"}) {
    EXPECT_EQ(Ask(line), "RPRT -1\n") << line;
  }
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_TRUE(Told().empty());
}

TEST_F(RigTest, OnlyVfoAIsThere) {
  EXPECT_EQ(Ask("V currVFO"), "RPRT 0\n");
  EXPECT_EQ(Ask("V VFOB"), "RPRT -11\n");
  EXPECT_EQ(Ask("V Sub"), "RPRT -11\n");
  EXPECT_EQ(Ask("V vfoa"), "RPRT -1\n");
  EXPECT_EQ(Ask("V"), "RPRT -1\n");
}

TEST_F(RigTest, UnknownCommandsAndStrayArgumentsAreRefused) {
  for (const char* line : {"zz", "\\foo", "\\", "\\F", "\\get_freqx", "get_freq", "+get_freq", ";", "+", "F14200000",
                           "(", "\\chk_VFO", "\x87"}) {
    EXPECT_EQ(Ask(line), "RPRT -4\n") << line;
  }
  for (const char* line : {"f VFOA", "m x", "\\chk_vfo 1", "\\dump_state x", "q now"}) {
    EXPECT_EQ(Ask(line), "RPRT -1\n") << line;
  }
  EXPECT_EQ(Ask(""), "");
  EXPECT_EQ(Ask(" \t "), "");
  EXPECT_EQ(Ask("# a comment"), "");
  EXPECT_TRUE(Told().empty());
}

}  // namespace

namespace {

// A window whose frequency text can't be set: the keypad's handlers raise.
class BrokenView : public FakePanelView {
public:
  void SetEdit1Text(const std::string&) override { throw Exception("the display is gone"); }
};

TEST_F(RigTest, AHandlerThatRaisesGoesToStderrAndTheClientHearsAFailure) {
  BrokenView broken;
  TForm1 brokenForm(broken, "/usr/bin/ravolin");
  FormPanelControl brokenPanel(brokenForm, broken);
  RigControl brokenRig(brokenPanel);
  testing::internal::CaptureStderr();
  EXPECT_EQ(brokenRig.Answer("F 3600000", client).text, "RPRT -7\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ravolin: rig control, set frequency: the display is gone\n");
  EXPECT_TRUE(broken.errorBoxes.empty());
  EXPECT_EQ(brokenRig.Answer("f", client).text, "7050000\n");  // still serving
}

}  // namespace
