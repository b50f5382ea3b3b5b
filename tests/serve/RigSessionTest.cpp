// Clients of the rig-control port as byte streams: answers in order,
// garbage and binary bytes, over-long lines, quitting, and several clients
// of one port.
#include "tests/serve/RigFixture.h"

namespace {

using Strings = std::vector<std::string>;
using namespace std::string_literals;

TEST_F(RigTest, AnswersComeInOrderWhateverThePieces) {
  RigSession session(rig);
  std::string out;
  for (char c : std::string("\\chk_vfo\r\nF 14200300.000000\nf\n\nm\r\n")) out += session.Receive(std::string(1, c));
  EXPECT_EQ(out, "0\nRPRT 0\n14200300\nUSB\n2700\n");
  EXPECT_FALSE(session.Closing());
}

TEST_F(RigTest, GarbageAndBinaryBytesGetOneRefusalPerLineAndChangeNothing) {
  RigSession session(rig);
  const std::string garbage = "\x00\x01\xff\xfe\nF\x00 7050000\n\x16\x03\x01\x02\x00\n\xc3\xa9t\xc3\xa9\r\nf\n"s;
  EXPECT_EQ(session.Receive(garbage), "RPRT -4\nRPRT -4\nRPRT -4\nRPRT -4\n7050000\n");
  EXPECT_TRUE(Told().empty());
  EXPECT_EQ(view.edit1, "7050");
}

TEST_F(RigTest, AnOverlongLineIsAnsweredOnceAndTheNextLineIsServed) {
  RigSession session(rig);
  EXPECT_EQ(session.Receive(std::string(CommandLines::kMaxLineBytes, 'F')), "");
  EXPECT_EQ(session.Receive("F"), "RPRT -8\n");
  for (int i = 0; i < 100; ++i) EXPECT_EQ(session.Receive(std::string(10000, 'x')), "");
  EXPECT_EQ(session.Receive("\nF 3600000\nf\n"), "RPRT 0\n3600000\n");
  EXPECT_EQ(Tunings(), Strings{"3600 kHz SSB"});
}

TEST_F(RigTest, QuitEndsTheSessionAndWhatFollowsIsIgnored) {
  RigSession session(rig);
  EXPECT_EQ(session.Receive("f\nq\nF 3600000\n"), "7050000\nRPRT 0\n");
  EXPECT_TRUE(session.Closing());
  EXPECT_EQ(session.Receive("F 3600000\n"), "");
  EXPECT_TRUE(Told().empty());
}

// Clients interleave line by line; each sees the panel as the others left
// it, and a half line of one client does not mix with another's.
TEST_F(RigTest, SeveralClientsShareThePanelButNotTheirLines) {
  RigSession logger(rig);
  RigSession decoder(rig);
  EXPECT_EQ(logger.Receive("F 3600"), "");
  EXPECT_EQ(decoder.Receive("M LSB 0\n"), "RPRT 0\n");
  EXPECT_EQ(logger.Receive("000\nm\n"), "RPRT 0\nLSB\n2700\n");
  EXPECT_EQ(decoder.Receive("f\n"), "3600000\n");
  EXPECT_EQ(Tunings(), (Strings{"7050 kHz SSB", "3600 kHz SSB"}));
}

// While following, a set from a client lasts until the next tick, as a
// click does.
TEST_F(RigTest, FollowModeRestoresTheStationOnTheNextTick) {
  WriteFile("host.ini", "\n");
  WriteFile("freq.ini", "7050\n0\nSSB\n0\n");
  StartPanel();
  form.Timer1Timer(nullptr);
  ClearLog();
  EXPECT_EQ(Ask("F 14200300"), "RPRT 0\n");
  EXPECT_EQ(Ask("M AM 0"), "RPRT 0\n");
  form.Timer1Timer(nullptr);
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(view.trackBar, 0);
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(Ask("f"), "7050000\n");
  EXPECT_EQ(Tunings(), (Strings{"14200 kHz SSB", "14200 kHz AM", "7050 kHz SSB"}));
}

}  // namespace
