// What the extended forms, VFO mode and the mode lock do to the panel and
// the radio: sets in every form send the packets a click sends, VFO mode
// belongs to the client that asked for it, the lock to the port.
#include "tests/serve/RigFixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(RigTest, ExtendedFormsSetAndReportThePanelAsThePlainOnesDo) {
  RigSession session(rig);
  EXPECT_EQ(session.Receive("+F 7050500\n"), "set_freq: 7050500\nRPRT 0\n");
  EXPECT_EQ(session.Receive("|M AM 0\n"), "set_mode: AM 0|RPRT 0\n");
  EXPECT_EQ(Tunings(), (Strings{"7050 kHz SSB", "7050 kHz AM"}));
  EXPECT_EQ(Told().front(), "tenths 5");
  EXPECT_EQ(session.Receive(";\\get_vfo_info VFOA\n"),
            "get_vfo_info: VFOA;Freq: 7050500;Mode: AM;Width: 6000;Split: 0;SatMode: 0;RPRT 0\n");
  // The check value is zlib's CRC-32 of the lines before it.
  EXPECT_EQ(session.Receive("\\get_rig_info\n"),
            "VFO=VFOA Freq=7050500 Mode=AM Width=6000 RX=1 TX=1\nVFO=VFOB Freq=0 Mode=None Width=0 RX=0 TX=0\n"
            "Split=0 SatMode=0\nRig=Ravolin\nApp=Ravolin\nVersion=20210506 1.0.0\nCRC=0x58bb9c62\n\n");

  // A refusal keeps the echo; the form asked for lasts one command, also
  // after \chk_vfo; a comment is not answered.
  EXPECT_EQ(session.Receive("+F 100000000\n+ m\n"),
            "set_freq: 100000000\nRPRT -1\nget_mode:\nMode: AM\nPassband: 6000\nRPRT 0\n");
  EXPECT_EQ(session.Receive("+\\chk_vfo\nf\n# f\n"), "ChkVFO: 0\n7050500\n");

  // Sets that ask for what the radio already is succeed, others fail, and
  // neither sends anything.
  ClearLog();
  EXPECT_EQ(session.Receive("T 0\nT 1\nS 0 VFOA\nS 1 VFOA\n\\set_powerstat 1\n\\set_powerstat 0\nV Main\nV VFOB\n"),
            "RPRT 0\nRPRT -11\nRPRT 0\nRPRT -11\nRPRT 0\nRPRT -11\nRPRT 0\nRPRT -11\n");
  EXPECT_TRUE(Told().empty());
}

// A satellite tracker: VFO mode, a VFO before every argument, each answer
// small enough for its one receive of 127 bytes.
TEST_F(RigTest, VfoModeBelongsToTheClientThatAskedForIt) {
  RigSession tracker(rig);
  RigSession logger(rig);
  EXPECT_EQ(tracker.Receive("\\set_vfo_opt 1\n\\chk_vfo\n"), "RPRT 0\n1\n");
  EXPECT_EQ(logger.Receive("\\chk_vfo\n"), "0\n");

  for (const auto& [line, answer] :
       std::vector<std::pair<std::string, std::string>>{{"F currVFO 14200300.000000", "RPRT 0\n"},
                                                        {"f currVFO", "14200300\n"},
                                                        {"m VFO", "USB\n2700\n"},
                                                        {"F VFOB 7000000", "RPRT -11\n"},
                                                        {"F Foo 7000000", "RPRT -1\n"},
                                                        {"F 7000000", "RPRT -1\n"},
                                                        {"+f Main", "get_freq: Main\nFrequency: 14200300\nRPRT 0\n"},
                                                        {"\\get_vfo_info VFOA", "14200300\nUSB\n2700\n0\n0\n"}}) {
    const std::string got = tracker.Receive(line + "\n");
    EXPECT_EQ(got, answer) << line;
    EXPECT_LE(got.size(), 127u) << line;
  }
  EXPECT_EQ(Tunings(), Strings{"14200 kHz SSB"});
  EXPECT_EQ(logger.Receive("f\nf currVFO\n"), "14200300\nRPRT -1\n");

  EXPECT_EQ(tracker.Receive("\\set_vfo_opt 0\nf\n"), "RPRT 0\n14200300\n");
}

// rigctld's mode lock: one client locks, every client's mode set is then
// taken and ignored until it is unlocked.
TEST_F(RigTest, TheModeLockHoldsForEveryClientUntilUnlocked) {
  RigSession spotter(rig);
  RigSession logger(rig);
  testing::internal::CaptureStderr();
  EXPECT_EQ(spotter.Receive("\\set_lock_mode 1\n\\set_lock_mode 1\n"), "RPRT 0\nRPRT 0\n");
  EXPECT_EQ(logger.Receive("\\get_lock_mode\nM AM 0\nM CW 0\nm\n"), "1\nRPRT 0\nRPRT 0\nRPRT -1\nUSB\n2700\n");
  EXPECT_TRUE(Told().empty());
  EXPECT_EQ(spotter.Receive("\\set_lock_mode 0\n"), "RPRT 0\n");
  EXPECT_EQ(logger.Receive("M AM 0\n"), "RPRT 0\n");
  EXPECT_EQ(Tunings(), Strings{"7050 kHz AM"});
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ravolin: rig control: the mode is locked (clients' mode sets are taken and ignored)\n"
            "ravolin: rig control: the mode is unlocked\n");
}

}  // namespace
