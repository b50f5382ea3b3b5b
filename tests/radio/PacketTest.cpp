// The packets the senders put on the bus, as the simulated radio received them.

#include <cstdint>
#include <string>
#include <vector>

#include "panel/PanelState.h"
#include "radio/RadioPackets.h"
#include "tests/radio/SimRadioFixture.h"

using Packets = std::vector<std::string>;
using PacketTest = SimRadioTest;

namespace {

struct Tuning {
  const char* text;
  std::int32_t ssb;
  const char* frequencyPacket;
  const char* modePacket;
};

}  // namespace

TEST_F(PacketTest, WorkedExamplesSendTheFrequencyThenTheModePacketAndClearTheEntry) {
  const Tuning examples[] = {
      {"7050", 1, "01 28 D7 7A B2", "01 29 C0 00 00"},  {"7051", 0, "01 28 D8 7A B2", "01 29 00 00 00"},
      {"0", 0, "01 28 12 6D B2", "01 29 80 00 00"},     {"9999", 1, "01 28 9A 80 B2", "01 29 40 00 00"},
      {"75226", 0, "01 28 FF FF B2", "01 29 80 00 00"}, {"75227", 0, "01 28 00 00 B2", "01 29 00 00 00"},
      {"99999", 1, "01 28 62 30 B2", "01 29 40 00 00"},
  };
  for (const Tuning& t : examples) {
    SCOPED_TRACE(t.text);
    ClearLog();
    ModeIsSsb = t.ssb;
    EntryCount = 4;
    SendFrequency(t.text);
    EXPECT_EQ(PacketsSent(), (Packets{t.frequencyPacket, t.modePacket}));
    EXPECT_EQ(EntryCount, 0);
  }
}

TEST_F(PacketTest, RadioTunesToTheKeyedFrequencyWithinTheTuningRange) {
  for (const char* text : {"7050", "7051", "0", "1", "75226"}) {
    for (std::int32_t ssb : {0, 1}) {
      ClearLog();
      ModeIsSsb = ssb;
      SendFrequency(text);
      const auto modeLines = LogLines("TX 01 29");
      ASSERT_EQ(modeLines.size(), 1u) << text;
      const std::string expected = std::string("-> ") + text + " kHz " + (ssb ? "SSB" : "AM");
      EXPECT_NE(modeLines[0].find(expected), std::string::npos) << modeLines[0];
    }
  }
}

TEST_F(PacketTest, SwitchingTheModeChangesOnlyTheModeFlags) {
  ModeIsSsb = 1;
  SendFrequency("14200");
  ModeIsSsb = 0;
  SendFrequency("14200");
  const Packets sent = PacketsSent();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0], sent[2]);
  EXPECT_EQ(sent[1], "01 29 C0 00 00");
  EXPECT_EQ(sent[3], "01 29 80 00 00");
}

TEST_F(PacketTest, LeadingBlanksAreAcceptedAndAnythingElseSendsNothing) {
  SendFrequency("  7050");
  EXPECT_EQ(PacketsSent(), (Packets{"01 28 D7 7A B2", "01 29 C0 00 00"}));

  for (const char* text : {"", "7050 ", "70a0", "+", "-", " ", "2147483648", "-2147483649", "0x"}) {
    SCOPED_TRACE(std::string("'") + text + "'");
    ClearLog();
    EntryCount = 3;
    SendFrequency(text);
    EXPECT_TRUE(PacketsSent().empty());
    EXPECT_EQ(EntryCount, 3);
  }
}

TEST_F(PacketTest, NegativeAndHexadecimalTextsConvert) {
  ModeIsSsb = 0;
  SendFrequency("-1");         // odd, N = 27922, bit 7 clear
  SendFrequency("$FFFFFFFF");  // the same 32-bit pattern
  SendFrequency("0x1B8A");     // 7050
  EXPECT_EQ(PacketsSent(), (Packets{"01 28 12 6D B2", "01 29 00 00 00", "01 28 12 6D B2", "01 29 00 00 00",
                                    "01 28 D7 7A B2", "01 29 80 00 00"}));
}

TEST_F(PacketTest, NegativeTuningWordsSendTheQuotientTruncatedTowardZero) {
  ModeIsSsb = 0;
  SendFrequency("-55846");       // N = -1: low byte FF, -1 / 256 = 0
  SendFrequency("-2147483648");  // N = -1073713902
  EXPECT_EQ(PacketsSent(), (Packets{"01 28 FF 00 B2", "01 29 80 00 00", "01 28 12 6E B2", "01 29 80 00 00"}));
}

TEST_F(PacketTest, FrequenciesAtTheTopOfTheRangeSendTheLow16BitsOfTheWord) {
  ModeIsSsb = 1;
  SendFrequency("2147427802");  // N = 2^30 - 1, the last sum that fits 32 bits
  SendFrequency("2147427803");  // N = 2^30, sum beyond 32 bits
  SendFrequency("2147483646");
  SendFrequency("2147483647");
  SendFrequency("0x7FFFFFFF");
  EXPECT_EQ(PacketsSent(),
            (Packets{"01 28 FF FF B2", "01 29 C0 00 00", "01 28 00 00 B2", "01 29 40 00 00", "01 28 11 6D B2",
                     "01 29 C0 00 00", "01 28 12 6D B2", "01 29 40 00 00", "01 28 12 6D B2", "01 29 40 00 00"}));
  EXPECT_EQ(EntryCount, 0);
}

TEST_F(PacketTest, ArxPacketFollowsTheSwitch) {
  ArxOn = 1;
  SendArx();
  ArxOn = 0;
  SendArx();
  ArxOn = -7;
  SendArx();
  EXPECT_EQ(PacketsSent(), (Packets{"03 FF", "03 00", "03 FF"}));
  const auto lines = LogLines("TX ");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "TX 03 FF arx on");
  EXPECT_EQ(lines[1], "TX 03 00 arx off");
}

TEST_F(PacketTest, TenthsPacketCarriesTheLowEightBitsOfThePosition) {
  for (std::int32_t position : {7, 0, 9, 300, -1}) SendTenths(position);
  EXPECT_EQ(PacketsSent(), (Packets{"02 07", "02 00", "02 09", "02 2C", "02 FF"}));
  EXPECT_EQ(LogLines("TX ")[0], "TX 02 07 tenths 7");
}

TEST_F(PacketTest, EachPacketAwaitsItsReplyLengthWithQuarterSecondTimeOuts) {
  SendFrequency("7050");
  SendArx();
  SendTenths(5);
  const std::string waits = " (write 250 ms, read 250 ms)";
  EXPECT_EQ(LogLines("RX "), (Packets{"RX 5 of 5 bytes" + waits, "RX 5 of 5 bytes" + waits, "RX 1 of 1 bytes" + waits,
                                      "RX 1 of 1 bytes" + waits}));
}

TEST_F(PacketTest, AFailedFrequencyPacketStillSendsTheModePacket) {
  OpenWith({{"RAVOLIN_SIM_TIMEOUT_AT", "1"}});
  EntryCount = 2;
  SendFrequency("7050");
  EXPECT_EQ(LogLines("FAIL write 01 28 D7 7A B2").size(), 1u);
  EXPECT_EQ(PacketsSent(), (Packets{"01 29 C0 00 00"}));
  EXPECT_EQ(EntryCount, 0);
}

TEST_F(PacketTest, WithoutARadioNothingIsSentAndTheEntryIsStillCleared) {
  OpenWith({{"RAVOLIN_SIM_ABSENT", "1"}});
  EntryCount = 5;
  SendFrequency("7050");
  SendArx();
  SendTenths(3);
  EXPECT_EQ(EntryCount, 0);
  EXPECT_TRUE(PacketsSent().empty());
  EXPECT_TRUE(LogLines("FAIL").empty());
  EXPECT_EQ(LogLines("OPEN").size(), 2u);  // the two refused opens, nothing after them
}
