#include "tests/support/WaitUntil.h"

#include <thread>

namespace testsupport {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               const std::function<void()>& idle) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    if (idle)
      idle();
    else
      std::this_thread::sleep_for(1ms);
  }
  return true;
}

}  // namespace testsupport
