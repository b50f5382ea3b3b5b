#pragma once
// Pumps the UI thread's messages until a condition holds or a deadline
// passes; never spins (each pass blocks until a message arrives).

#include <chrono>
#include <functional>

#include "platform/messages.h"

inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    platform::WaitAndProcessMessages(50);
  }
  return true;
}
