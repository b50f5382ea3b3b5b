#pragma once
// Waiting on a condition while the user-interface thread's messages are
// handled. Never spins: each pass blocks until a message arrives or a short
// while has passed.

#include <chrono>
#include <functional>

#include "platform/messages.h"
#include "tests/support/WaitUntil.h"

namespace testsupport {

// One pass of the pump that blocks briefly when nothing is pending.
inline void PumpOnce() { platform::WaitAndProcessMessages(20); }

// Pumps until condition holds or limit has passed; returns its last answer.
inline bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms) {
  return WaitUntil(condition, limit, PumpOnce);
}

}  // namespace testsupport
