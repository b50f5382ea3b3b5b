// The link's states and results against the simulated radio.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "radio/RadioLink.h"
#include "tests/radio/SimRadioFixture.h"

using Lines = std::vector<std::string>;
using LinkTest = SimRadioTest;

namespace {

const std::uint8_t kArxOn[2] = {0x03, 0xFF};
const std::uint8_t kTuning[5] = {0x01, 0x28, 0xD7, 0x7A, 0xB2};

struct Outcome {
  std::int32_t result;
  std::uint32_t replyLength;
};

Outcome Exchange(const std::uint8_t* packet, std::uint32_t length, std::uint32_t expected) {
  std::array<std::uint8_t, 64> reply{};
  std::uint32_t replyLength = expected;
  const std::int32_t result = ExchangePacket(packet, length, reply.data(), replyLength, 250, 250);
  return {result, replyLength};
}

Outcome ExchangeArx() { return Exchange(kArxOn, 2, 1); }
Outcome ExchangeTuning() { return Exchange(kTuning, 5, 5); }

bool PipesClosed() { return OutPipe == kPipeNotOpen && InPipe == kPipeNotOpen; }

}  // namespace

TEST_F(LinkTest, OpensTheWritePipeThenTheReadPipeOfTheFirstRadio) {
  EXPECT_NE(MpusbLibrary, nullptr);
  EXPECT_NE(MpusbEntries.GetDLLVersion, nullptr);
  EXPECT_NE(MpusbEntries.GetDeviceCount, nullptr);
  EXPECT_NE(MpusbEntries.ReadInt, nullptr);
  EXPECT_NE(OutPipe, kPipeNotOpen);
  EXPECT_NE(InPipe, kPipeNotOpen);
  EXPECT_NE(OutPipe, InPipe);
  EXPECT_EQ(LogLines("OPEN"),
            (Lines{"OPEN out vid_04d8&pid_000c \\MCHP_EP1 -> ok", "OPEN in vid_04d8&pid_000c \\MCHP_EP1 -> ok"}));
}

TEST_F(LinkTest, ResultTellsCompleteShortAndOverlongReplies) {
  Outcome complete = ExchangeTuning();
  EXPECT_EQ(complete.result, kExchangeComplete);
  EXPECT_EQ(complete.replyLength, 5u);

  OpenWith({{"RAVOLIN_SIM_REPLY", "short"}});
  Outcome shortReply = ExchangeTuning();
  EXPECT_EQ(shortReply.result, kExchangeShort);
  EXPECT_EQ(shortReply.replyLength, 4u);
  EXPECT_EQ(LogLines("RX "), (Lines{"RX 4 of 5 bytes, short reply (write 250 ms, read 250 ms)"}));

  OpenWith({{"RAVOLIN_SIM_REPLY", "empty"}});
  Outcome empty = ExchangeArx();
  EXPECT_EQ(empty.result, kExchangeShort);
  EXPECT_EQ(empty.replyLength, 0u);

  OpenWith({{"RAVOLIN_SIM_REPLY", "long"}});
  Outcome overlong = ExchangeArx();
  EXPECT_EQ(overlong.result, kExchangeFailed);
  EXPECT_EQ(overlong.replyLength, 2u);
  EXPECT_EQ(LogLines("RX ").size(), 1u);
  EXPECT_NE(LogLines("RX ")[0].find("longer than asked"), std::string::npos);
  // An overlong reply is not a broken device: the pipes stay open.
  EXPECT_FALSE(PipesClosed());
}

TEST_F(LinkTest, WithoutARadioExchangesFailAtOnceWithoutTouchingTheLibrary) {
  OpenWith({{"RAVOLIN_SIM_ABSENT", "1"}});
  EXPECT_TRUE(PipesClosed());
  ClearLog();
  Outcome outcome = ExchangeTuning();
  EXPECT_EQ(outcome.result, kExchangeFailed);
  EXPECT_EQ(outcome.replyLength, 5u);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(LinkTest, WhenOnlyTheReadPipeFailsToOpenNothingIsWritten) {
  OpenWith({{"RAVOLIN_SIM_ABSENT", "in"}});
  EXPECT_NE(OutPipe, kPipeNotOpen);
  EXPECT_EQ(InPipe, kPipeNotOpen);
  ClearLog();
  EXPECT_EQ(ExchangeArx().result, kExchangeFailed);
  EXPECT_TRUE(LogLines().empty());
}

// A handle the library no longer knows (closed behind the link's back) is
// an invalid handle: the link closes both pipes, write pipe first, for good.
TEST_F(LinkTest, InvalidHandleOnWriteClosesOutPipeThenInPipeForGood) {
  MpusbEntries.Close(OutPipe);
  ClearLog();
  EXPECT_EQ(ExchangeArx().result, kExchangeFailed);
  EXPECT_EQ(LogLines(),
            (Lines{"FAIL write: not an open write pipe (EBADF)", "FAIL close: not an open pipe (EBADF)", "CLOSE in"}));
  EXPECT_TRUE(PipesClosed());

  ClearLog();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ExchangeTuning().result, kExchangeFailed);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(LinkTest, InvalidHandleOnReadClosesBothPipesAfterThePacketWentOut) {
  MpusbEntries.Close(InPipe);
  ClearLog();
  EXPECT_EQ(ExchangeTuning().result, kExchangeFailed);
  const Lines log = LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(PacketBytesOf(log[0]), "01 28 D7 7A B2");
  EXPECT_EQ(Lines(log.begin() + 1, log.end()),
            (Lines{"FAIL read: not an open read pipe (EBADF)", "CLOSE out", "FAIL close: not an open pipe (EBADF)"}));
  EXPECT_TRUE(PipesClosed());
}

TEST_F(LinkTest, OtherWriteFailureSkipsTheReadAndKeepsThePipes) {
  OpenWith({{"RAVOLIN_SIM_TIMEOUT_AT", "1"}});
  void* const out = OutPipe;
  void* const in = InPipe;
  ClearLog();
  EXPECT_EQ(ExchangeArx().result, kExchangeFailed);
  EXPECT_EQ(LogLines(), (Lines{"FAIL write 03 FF: timed out (ETIMEDOUT; write 250 ms)"}));
  EXPECT_EQ(OutPipe, out);
  EXPECT_EQ(InPipe, in);

  EXPECT_EQ(ExchangeArx().result, kExchangeComplete);
  EXPECT_EQ(PacketsSent(), (Lines{"03 FF"}));
}

TEST_F(LinkTest, OtherReadFailureKeepsThePipesForTheNextExchange) {
  OpenWith({{"RAVOLIN_SIM_TIMEOUT_AT", "1"}, {"RAVOLIN_SIM_FAIL_ON", "read"}});
  EXPECT_EQ(ExchangeArx().result, kExchangeFailed);
  EXPECT_FALSE(PipesClosed());
  EXPECT_TRUE(LogLines("CLOSE").empty());
  EXPECT_EQ(ExchangeTuning().result, kExchangeComplete);
  EXPECT_EQ(PacketsSent(), (Lines{"03 FF", "01 28 D7 7A B2"}));
}

TEST_F(LinkTest, AnExchangeBeforeTheLinkIsOpenedFails) {
  ResetRadioLinkForTesting();
  ClearLog();
  EXPECT_EQ(ExchangeArx().result, kExchangeFailed);
  EXPECT_TRUE(LogLines().empty());
}
