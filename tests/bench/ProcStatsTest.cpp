// The process figures the soak prints: a descriptor opened and closed shows
// in the count, and memory that is touched shows in the resident size.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "bench/proc_stats.h"

TEST(ProcStats, CountsADescriptorWhileItIsOpen) {
  const int before = bench::OpenDescriptors();
  ASSERT_GE(before, 3);
  const int fd = open("/dev/null", O_RDONLY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(bench::OpenDescriptors(), before + 1);
  close(fd);
  EXPECT_EQ(bench::OpenDescriptors(), before);
}

TEST(ProcStats, ResidentMemoryFollowsTouchedPagesAndThePeakStaysAbove) {
  constexpr std::size_t kBytes = 32u << 20;
  const long before = bench::ResidentKiB();
  ASSERT_GT(before, 0);
  auto block = std::make_unique<char[]>(kBytes);
  std::memset(block.get(), 1, kBytes);
  // The kernel's counters are kept per processor and summed lazily, so the
  // two readings can differ by a few pages; the block is far larger.
  const long nearlyAll = static_cast<long>(kBytes / 1024) * 9 / 10;
  EXPECT_GE(bench::ResidentKiB() - before, nearlyAll);
  EXPECT_GE(bench::PeakResidentKiB(), before + nearlyAll);
  EXPECT_EQ(block[kBytes - 1], 1);
}
