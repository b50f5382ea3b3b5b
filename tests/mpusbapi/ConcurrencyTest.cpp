// Calls from several threads at once: the first calls racing to start the
// library, and a write going out while another thread's read waits.

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "tests/mpusbapi/UsbLibraryFixture.h"
#include "tests/support/WaitUntil.h"

using fakeusb::Bytes;
using testsupport::WaitUntil;

// Two contexts started side by side would leak one (the leak check of the
// sanitizer build sees it) and could see the bus twice.
TEST_F(UsbLibraryTest, FirstCallsFromManyThreadsShareOneStart) {
  bus.Plug();
  std::atomic<bool> go{false};
  std::vector<std::future<std::uint32_t>> counts;
  for (int i = 0; i < 4; ++i)
    counts.push_back(std::async(std::launch::async, [&go] {
      while (!go.load()) std::this_thread::yield();
      return _MPUSBGetDeviceCount("vid_04d8&pid_000c");
    }));
  go = true;
  for (auto& count : counts) EXPECT_EQ(count.get(), 1u);
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
