#pragma once
// Waiting on a condition with a deadline, never for a fixed time.

#include <chrono>
#include <functional>

namespace testsupport {

using namespace std::chrono_literals;

// Checks condition until it holds or limit has passed; between checks runs
// idle (for example one pass of the message pump), or yields briefly when
// none is given. Returns the condition's last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms,
               const std::function<void()>& idle = {});

}  // namespace testsupport
