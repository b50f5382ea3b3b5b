// Transfers that fail: a silent radio, stalled endpoints, a radio pulled out
// during a read and between calls. Each leaves its reason in errno.

#include <cerrno>
#include <future>

#include "tests/mpusbapi/UsbLibraryFixture.h"
#include "tests/support/WaitUntil.h"

using fakeusb::Bytes;
using testsupport::WaitUntil;

namespace {

std::optional<Bytes> Silent(std::uint8_t, const Bytes&) { return std::nullopt; }

}  // namespace

TEST_F(UsbLibraryTest, SilentRadioTimesTheReadOutAndTheNextExchangeStillWorks) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware(Silent);
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("01 28 D7 7A B2")).result, 1u);
  const Outcome timedOut = Read(in, 5, 50);
  EXPECT_EQ(timedOut.result, 0u);
  EXPECT_EQ(timedOut.error, ETIMEDOUT);
  EXPECT_EQ(timedOut.count, 0u);
  EXPECT_EQ(radio.PendingReads(), 0);  // the read was taken back from the device

  radio.SetFirmware([](std::uint8_t, const Bytes& packet) { return std::optional<Bytes>(packet); });
  ASSERT_EQ(Write(out, Hex("03 FF")).result, 1u);
  EXPECT_EQ(Read(in, 2).bytes, Hex("03 FF"));
}

// libusb would read 0 as "no limit"; the call must come back.
TEST_F(UsbLibraryTest, TimeOutOfZeroDoesNotWaitForever) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware(Silent);
  void* in = OpenPipe(1);
  auto read = std::async(std::launch::async, [in] { return Read(in, 5, 0); });
  if (read.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "the read is still waiting";
    radio.Unplug();  // ends it, so that the test can finish
  }
  const Outcome outcome = read.get();
  EXPECT_EQ(outcome.result, 0u);
  EXPECT_EQ(outcome.error, ETIMEDOUT);
}

TEST_F(UsbLibraryTest, StalledReadFailsWithEpipeAndTheHaltIsClearedForTheNext) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  radio.Stall(0x81);
  ASSERT_EQ(Write(out, Hex("02 07")).result, 1u);
  const Outcome stalled = Read(in, 2);
  EXPECT_EQ(stalled.result, 0u);
  EXPECT_EQ(stalled.error, EPIPE);
  EXPECT_EQ(radio.HaltsCleared(), std::vector<std::uint8_t>{0x81});

  // The answer to the packet is still waiting; the cleared endpoint gives it.
  EXPECT_EQ(Read(in, 2).bytes, Hex("02 07"));
}

TEST_F(UsbLibraryTest, StalledWriteFailsWithEpipeAndTheHaltIsClearedForTheNext) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  void* out = OpenPipe(0);
  radio.Stall(0x01);
  const Outcome stalled = Write(out, Hex("02 07"));
  EXPECT_EQ(stalled.result, 0u);
  EXPECT_EQ(stalled.error, EPIPE);
  EXPECT_TRUE(radio.Received(0x01).empty());
  EXPECT_EQ(radio.HaltsCleared(), std::vector<std::uint8_t>{0x01});
  EXPECT_EQ(Write(out, Hex("02 07")).result, 1u);
  EXPECT_EQ(radio.Received(0x01).size(), 1u);
}

TEST_F(UsbLibraryTest, UnplugDuringAReadEndsItWithEnodev) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  radio.SetFirmware(Silent);
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("01 28 D7 7A B2")).result, 1u);
  // A long time-out: only the unplug can end this read with ENODEV.
  auto read = std::async(std::launch::async, [in] { return Read(in, 5, 60000); });
  ASSERT_TRUE(WaitUntil([&] { return radio.PendingReads() == 1; }));
  radio.Unplug();
  ASSERT_EQ(read.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  const Outcome outcome = read.get();
  EXPECT_EQ(outcome.result, 0u);
  EXPECT_EQ(outcome.error, ENODEV);

  EXPECT_EQ(Write(out, Hex("01 29 C0 00 00")).error, ENODEV);
  EXPECT_EQ(_MPUSBClose(out), 1u);
  EXPECT_EQ(_MPUSBClose(in), 1u);
}

TEST_F(UsbLibraryTest, UnplugBetweenCallsFailsWritesAndReadsWithEnodev) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  ASSERT_EQ(Write(out, Hex("03 FF")).result, 1u);
  ASSERT_EQ(Read(in, 2).result, 1u);
  radio.Unplug();

  const Outcome write = Write(out, Hex("03 00"));
  EXPECT_EQ(write.result, 0u);
  EXPECT_EQ(write.error, ENODEV);
  const Outcome read = Read(in, 1);
  EXPECT_EQ(read.result, 0u);
  EXPECT_EQ(read.error, ENODEV);
  EXPECT_EQ(radio.Received(0x01).size(), 1u);
  // Closing a pipe to a device that is gone still frees it.
  EXPECT_EQ(_MPUSBClose(out), 1u);
  EXPECT_EQ(_MPUSBClose(in), 1u);
  EXPECT_EQ(Write(out, Hex("03 00")).error, EBADF);
}
