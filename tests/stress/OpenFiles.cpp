#include "tests/stress/OpenFiles.h"

#include "bench/proc_stats.h"
#include "tests/support/WaitUntil.h"

namespace stresstest {

int SettledOpenFileCount(int baseline) {
  int count = bench::OpenDescriptors();
  testsupport::WaitUntil([&] { return (count = bench::OpenDescriptors()) == baseline; }, std::chrono::seconds(2));
  return count;
}

}  // namespace stresstest
