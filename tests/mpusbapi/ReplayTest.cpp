// The link and the libusb library against recorded usbfs traffic, replayed
// by umockdev-run (see CMakeLists.txt): the URBs the library submits must
// match the trace byte for byte, type, endpoint, flags and length included.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "panel/PanelState.h"
#include "platform/library.h"
#include "radio/RadioLink.h"

namespace {

struct Exchange {
  std::int32_t result;
  std::array<std::uint8_t, 64> reply;
};

Exchange Send(std::array<std::uint8_t, 5> packet) {
  Exchange e{};
  std::uint32_t replyLength = 5;
  e.result = ExchangePacket(packet.data(), 5, e.reply.data(), replyLength, 250, 250);
  return e;
}

bool LinkClosed() { return OutPipe == kPipeNotOpen && InPipe == kPipeNotOpen; }

}  // namespace

TEST(UsbReplay, SetOf7050InSsb) {
  OpenRadioLink();
  ASSERT_FALSE(LinkClosed());
  const Exchange frequency = Send({0x01, 0x28, 0xD7, 0x7A, 0xB2});
  EXPECT_EQ(frequency.result, kExchangeComplete);
  EXPECT_EQ(frequency.reply[3], 0x7A);
  EXPECT_EQ(Send({0x01, 0x29, 0xC0, 0x00, 0x00}).result, kExchangeComplete);
  EXPECT_FALSE(LinkClosed());
}

// The radio is not connected, not an invalid handle: the link keeps its
// pipes for when the radio is back.
TEST(UsbReplay, UnplugDuringTheSecondReadKeepsTheLink) {
  OpenRadioLink();
  ASSERT_FALSE(LinkClosed());
  EXPECT_EQ(Send({0x01, 0x28, 0xD7, 0x7A, 0xB2}).result, kExchangeComplete);
  EXPECT_EQ(Send({0x01, 0x29, 0xC0, 0x00, 0x00}).result, kExchangeFailed);
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorDeviceNotConnected);
  EXPECT_FALSE(LinkClosed());
}
