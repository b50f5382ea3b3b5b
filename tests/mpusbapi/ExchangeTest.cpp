// Bytes through the radio's two pipes: one exchange, the transfer type the
// endpoint asks for, and the counts stored for short and long replies.

#include <cerrno>

#include "tests/mpusbapi/UsbLibraryFixture.h"

using fakeusb::Bytes;

namespace {

fakeusb::DeviceLayout InterruptRadio() {
  fakeusb::DeviceLayout layout;
  layout.interfaces = {{0, {{0x01, fakeusb::kInterrupt}, {0x81, fakeusb::kInterrupt}}}};
  return layout;
}

}  // namespace

TEST_F(UsbLibraryTest, FrequencyPacketGoesOutAndItsReplyComesBack) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware([](std::uint8_t, const Bytes&) { return Hex("01 28 D7 7A 00"); });
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_NE(out, MPUSB_INVALID_HANDLE);
  ASSERT_NE(in, MPUSB_INVALID_HANDLE);
  EXPECT_NE(out, in);

  const Outcome written = Write(out, Hex("01 28 D7 7A B2"));
  EXPECT_EQ(written.result, 1u);
  EXPECT_EQ(written.count, 5u);
  const Outcome reply = Read(in, 5);
  EXPECT_EQ(reply.result, 1u);
  EXPECT_EQ(reply.count, 5u);
  EXPECT_EQ(reply.bytes, Hex("01 28 D7 7A 00"));
  EXPECT_EQ(radio.Received(0x01), std::vector<Bytes>{Hex("01 28 D7 7A B2")});
  EXPECT_TRUE(radio.Unanswered().empty());
}

TEST_F(UsbLibraryTest, EveryExchangeOfASessionArrivesInOrder) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();  // echoes
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  const std::vector<Bytes> packets = {Hex("01 28 D7 7A B2"), Hex("01 29 C0 00 00"), Hex("03 FF"), Hex("02 07")};
  for (const Bytes& packet : packets) {
    ASSERT_EQ(Write(out, packet).result, 1u);
    const Outcome reply = Read(in, static_cast<std::uint32_t>(packet.size()));
    ASSERT_EQ(reply.result, 1u);
    EXPECT_EQ(reply.bytes, packet);
  }
  EXPECT_EQ(radio.Received(0x01), packets);
}

// The fake device refuses a transfer whose type does not match the endpoint.
TEST_F(UsbLibraryTest, InterruptEndpointsGetInterruptTransfers) {
  fakeusb::FakeUsbDevice& radio = bus.Plug(InterruptRadio());
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_NE(out, MPUSB_INVALID_HANDLE);
  ASSERT_NE(in, MPUSB_INVALID_HANDLE);

  EXPECT_EQ(Write(out, Hex("03 FF")).result, 1u);
  EXPECT_EQ(Read(in, 2).bytes, Hex("03 FF"));
  EXPECT_EQ(Write(out, Hex("03 00")).result, 1u);
  Bytes buffer(2);
  std::uint32_t received = 0;
  EXPECT_EQ(_MPUSBReadInt(in, buffer.data(), 2, &received, 250), 1u);
  EXPECT_EQ(received, 2u);
  EXPECT_EQ(buffer, Hex("03 00"));
  EXPECT_EQ(radio.Received(0x01).size(), 2u);
}

TEST_F(UsbLibraryTest, ShortReplyStoresTheCountReceived) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware([](std::uint8_t, const Bytes&) { return Hex("01 28"); });
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("01 28 D7 7A B2")).result, 1u);
  const Outcome reply = Read(in, 5);
  EXPECT_EQ(reply.result, 1u);
  EXPECT_EQ(reply.count, 2u);
  EXPECT_EQ(reply.bytes, Hex("01 28"));

  radio.SetFirmware([](std::uint8_t, const Bytes&) { return Bytes{}; });
  ASSERT_EQ(Write(out, Hex("03 FF")).result, 1u);
  const Outcome empty = Read(in, 1);
  EXPECT_EQ(empty.result, 1u);
  EXPECT_EQ(empty.count, 0u);
}

TEST_F(UsbLibraryTest, ReplyLongerThanAskedOverflowsWithoutWritingPastTheBuffer) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware([](std::uint8_t, const Bytes&) { return Hex("01 02 03 04 05 06 07"); });
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("03 FF")).result, 1u);
  const Outcome reply = Read(in, 5);
  EXPECT_EQ(reply.result, 0u);
  EXPECT_EQ(reply.error, EOVERFLOW);
  EXPECT_LE(reply.count, 5u);
  // The caller's buffer holds 5 bytes; what lies after it stays untouched.
  EXPECT_EQ(Bytes(reply.bytes.begin() + 5, reply.bytes.end()), Bytes(8, 0xEE));
}
