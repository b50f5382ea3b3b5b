// The radio's cable pulled and plugged in again while its pipes stay open:
// calls fail at once in between, and the same handles reach the radio that
// came back.

#include <cerrno>
#include <chrono>

#include "tests/mpusbapi/UsbLibraryFixture.h"

using fakeusb::Bytes;

namespace {

using Clock = std::chrono::steady_clock;

// Long enough that a call which waited it out could not pass for one that
// failed at once.
constexpr std::uint32_t kLongTimeoutMs = 30000;

}  // namespace

TEST_F(UsbLibraryTest, HandlesSurviveAnUnplugAndReachTheRadioPluggedInAgain) {
  fakeusb::FakeUsbDevice& first = bus.Plug(OnPort(2));  // echoes
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("01 28 D7 7A B2")).result, 1u);
  ASSERT_EQ(Read(in, 5).bytes, Hex("01 28 D7 7A B2"));

  bus.Unplug(first);
  for (int call = 0; call < 3; ++call) {
    SCOPED_TRACE(call);
    const auto start = Clock::now();
    const Outcome write = Write(out, Hex("03 FF"), kLongTimeoutMs);
    const Outcome read = Read(in, 1, kLongTimeoutMs);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kLongTimeoutMs));
    EXPECT_EQ(write.result, 0u);
    EXPECT_EQ(write.error, ENODEV);
    EXPECT_EQ(read.result, 0u);
    EXPECT_EQ(read.error, ENODEV);
  }
  // A radio that is absent when a pipe is opened still opens nothing.
  errno = 0;
  EXPECT_EQ(OpenPipe(0), MPUSB_INVALID_HANDLE);
  EXPECT_EQ(errno, ENODEV);
  EXPECT_EQ(_MPUSBGetDeviceCount("vid_04d8&pid_000c"), 0u);

  // Back, on another port: the same handles find it, claim it once for both
  // pipes, and the exchange goes to it.
  fakeusb::FakeUsbDevice& second = bus.Plug(OnPort(3));
  second.SetFirmware([](std::uint8_t, const Bytes&) { return Hex("A5"); });
  ASSERT_EQ(Write(out, Hex("02 07")).result, 1u);
  EXPECT_EQ(Read(in, 1).bytes, Hex("A5"));
  EXPECT_EQ(second.Received(0x01), std::vector<Bytes>{Hex("02 07")});
  EXPECT_EQ(second.Claims(0), 1);
  EXPECT_EQ(first.Received(0x01).size(), 1u);

  // Pulled and plugged in again between two calls: the first call meets the
  // device that went and says so; the next one reaches the new one.
  bus.Unplug(second);
  fakeusb::FakeUsbDevice& third = bus.Plug(OnPort(4));
  EXPECT_EQ(Write(out, Hex("03 00")).error, ENODEV);
  ASSERT_EQ(Write(out, Hex("03 00")).result, 1u);
  EXPECT_EQ(Read(in, 2).bytes, Hex("03 00"));
  EXPECT_EQ(third.Claims(0), 1);

  // Closing releases the handle for good; the claim goes with the last pipe.
  EXPECT_EQ(_MPUSBClose(out), 1u);
  EXPECT_EQ(Write(out, Hex("03 FF")).error, EBADF);
  EXPECT_TRUE(third.Claimed(0));
  EXPECT_EQ(_MPUSBClose(in), 1u);
  EXPECT_FALSE(third.Claimed(0));
  EXPECT_EQ(Read(in, 1).error, EBADF);
  errno = 0;
  EXPECT_EQ(_MPUSBClose(in), 0u);
  EXPECT_EQ(errno, EBADF);
}
