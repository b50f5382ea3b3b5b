// The simulated radio's own rules, called through the entry points the link
// looked up in it.

#include <array>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/library.h"
#include "radio/RadioLink.h"
#include "tests/radio/SimRadioFixture.h"

using Lines = std::vector<std::string>;
using SimulatorTest = SimRadioTest;

namespace {

void* OpenPipe(const char* vidPid, const char* endpoint, std::uint32_t direction, std::uint32_t instance = 0) {
  return MpusbEntries.Open(instance, vidPid, endpoint, direction, 0);
}

}  // namespace

TEST_F(SimulatorTest, OpensOnlyTheRadiosIdentityAndEndpoint) {
  const char* radio = "vid_04d8&pid_000c";
  errno = 0;
  EXPECT_EQ(OpenPipe("vid_04d8&pid_000d", "\\MCHP_EP1", 0), kPipeNotOpen);
  EXPECT_EQ(errno, ENODEV);
  EXPECT_EQ(OpenPipe("VID_04D8&PID_000C", "\\MCHP_EP1", 0), kPipeNotOpen);
  EXPECT_EQ(OpenPipe(radio, "\\MCHP_EP2", 1), kPipeNotOpen);
  EXPECT_EQ(OpenPipe(radio, "MCHP_EP1", 1), kPipeNotOpen);
  EXPECT_EQ(OpenPipe(radio, "\\MCHP_EP1", 2), kPipeNotOpen);
  EXPECT_EQ(OpenPipe(radio, "\\MCHP_EP1", 0, 1), kPipeNotOpen);
  EXPECT_EQ(OpenPipe(nullptr, "\\MCHP_EP1", 0), kPipeNotOpen);

  void* extra = OpenPipe(radio, "\\MCHP_EP1", 1);
  EXPECT_NE(extra, kPipeNotOpen);
  EXPECT_EQ(MpusbEntries.Close(extra), 1u);
  EXPECT_EQ(MpusbEntries.Close(extra), 0u);  // a closed handle is no longer valid
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorInvalidHandle);

  EXPECT_EQ(MpusbEntries.GetDeviceCount(radio), 1u);
  EXPECT_EQ(MpusbEntries.GetDeviceCount("vid_04d8&pid_000d"), 0u);
  EXPECT_NE(MpusbEntries.GetDLLVersion(), 0u);
}

TEST_F(SimulatorTest, PipesWorkOnlyInTheirOwnDirection) {
  std::array<std::uint8_t, 64> buffer{};
  std::uint32_t count = 0;
  const std::uint8_t packet[2] = {0x03, 0x00};
  EXPECT_EQ(MpusbEntries.Write(InPipe, packet, 2, &count, 250), 0u);
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorInvalidHandle);
  EXPECT_EQ(MpusbEntries.Read(OutPipe, buffer.data(), 1, &count, 250), 0u);
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorInvalidHandle);
  // A read with nothing asked of the radio times out.
  EXPECT_EQ(MpusbEntries.Read(InPipe, buffer.data(), 1, &count, 250), 0u);
  EXPECT_EQ(errno, ETIMEDOUT);
}

TEST_F(SimulatorTest, AnswersWithItsOwnReplyLengthWhateverIsAsked) {
  std::array<std::uint8_t, 64> buffer{};
  std::uint32_t count = 0;
  const std::uint8_t tuning[5] = {0x01, 0x28, 0x00, 0x00, 0xB2};
  ASSERT_EQ(MpusbEntries.Write(OutPipe, tuning, 5, &count, 250), 1u);
  EXPECT_EQ(count, 5u);
  ASSERT_EQ(MpusbEntries.Read(InPipe, buffer.data(), 64, &count, 250), 1u);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(buffer[1], 0x28);

  const std::uint8_t tenths[2] = {0x02, 0x04};
  ASSERT_EQ(MpusbEntries.Write(OutPipe, tenths, 2, &count, 250), 1u);
  EXPECT_EQ(MpusbEntries.Read(InPipe, buffer.data(), 0, &count, 250), 0u);  // no room for its byte
  EXPECT_EQ(errno, EOVERFLOW);
  EXPECT_EQ(LogLines("FAIL read"), (Lines{"FAIL read: radio sent 1 bytes, 0 asked (EOVERFLOW)"}));
}

TEST_F(SimulatorTest, LogsWhatItDecodesAndHowItWasSetUp) {
  const std::uint8_t mode[5] = {0x01, 0x29, 0x41, 0x00, 0x00};
  const std::uint8_t stray[3] = {0x07, 0x01, 0x02};
  std::uint32_t count = 0;
  MpusbEntries.Write(OutPipe, mode, 5, &count, 250);
  MpusbEntries.Write(OutPipe, stray, 3, &count, 250);
  EXPECT_EQ(LogLines("TX "), (Lines{"TX 01 29 41 00 00 mode SSB odd (stray bits in 0x41) (no frequency word yet)",
                                    "TX 07 01 02 unknown packet of 3 bytes"}));

  OpenWith({{"RAVOLIN_SIM_VANISH_AFTER", "3"}, {"RAVOLIN_SIM_REPLY", "sideways"}});
  EXPECT_EQ(LogLines("SIM"),
            (Lines{"SIM radio attached, vanishes after 3 packets on the write, ignored RAVOLIN_SIM_REPLY=sideways"}));
}

TEST_F(SimulatorTest, AVanishedRadioFailsEveryCallWithNoDevice) {
  OpenWith({{"RAVOLIN_SIM_VANISH_AFTER", "0"}});
  std::uint32_t count = 0;
  std::array<std::uint8_t, 64> buffer{};
  const std::uint8_t arx[2] = {0x03, 0xFF};
  for (int i = 0; i < 2; ++i) {
    errno = 0;
    EXPECT_EQ(MpusbEntries.Write(OutPipe, arx, 2, &count, 250), 0u);
    EXPECT_EQ(errno, ENODEV);
    EXPECT_EQ(platform::LastSystemError(), platform::kErrorDeviceNotConnected);
    EXPECT_EQ(MpusbEntries.Read(InPipe, buffer.data(), 1, &count, 250), 0u);
    EXPECT_EQ(errno, ENODEV);
  }
  EXPECT_EQ(MpusbEntries.GetDeviceCount("vid_04d8&pid_000c"), 0u);
}
