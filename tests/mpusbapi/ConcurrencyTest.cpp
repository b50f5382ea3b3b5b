// Calls from several threads at once: the first calls racing to start the
// library, and a write going out while another thread's read waits.

#include <future>
#include <latch>
#include <utility>
#include <vector>

#include "mpusbapi/usb/UsbContext.h"
#include "tests/mpusbapi/UsbLibraryFixture.h"
#include "tests/support/WaitUntil.h"

using fakeusb::Bytes;
using testsupport::WaitUntil;

// Two contexts started side by side would leak one (the leak check of the
// sanitizer build sees it) and could see the bus twice. Each thread's first
// call is the one every entry point starts with, so without the guard on the
// start the threads would come back with contexts of their own.
TEST_F(UsbLibraryTest, FirstCallsFromManyThreadsShareOneStart) {
  bus.Plug();
  constexpr int kThreads = 4;
  std::latch start(kThreads);
  std::vector<std::future<std::pair<libusb_context*, std::uint32_t>>> calls;
  for (int i = 0; i < kThreads; ++i)
    calls.push_back(std::async(std::launch::async, [&start] {
      start.arrive_and_wait();
      libusb_context* context = mpusb::Context();
      return std::make_pair(context, _MPUSBGetDeviceCount("vid_04d8&pid_000c"));
    }));
  std::vector<std::pair<libusb_context*, std::uint32_t>> results;
  for (auto& call : calls) results.push_back(call.get());
  libusb_context* const shared = mpusb::Context();
  ASSERT_NE(shared, nullptr);
  for (const auto& [context, count] : results) {
    EXPECT_EQ(context, shared);
    EXPECT_EQ(count, 1u);
  }
}

// The read pipe's transfer holds no lock that the write pipe needs: the
// write's packet is what answers the waiting read.
TEST_F(UsbLibraryTest, WriteGoesOutWhileAnotherThreadsReadWaits) {
  fakeusb::FakeUsbDevice& radio = bus.Plug();  // echoes
  void* out = OpenPipe(0);
  void* in = OpenPipe(1);
  auto read = std::async(std::launch::async, [in] { return Read(in, 2, 10000); });
  ASSERT_TRUE(WaitUntil([&] { return radio.PendingReads() == 1; }));
  EXPECT_EQ(Write(out, Hex("03 FF"), 250).result, 1u);
  const Outcome reply = read.get();
  EXPECT_EQ(reply.result, 1u);
  EXPECT_EQ(reply.bytes, Hex("03 FF"));
}
