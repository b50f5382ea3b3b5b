#pragma once
// Runs a step when the scope ends, on every exit path (return or exception).

#include <utility>

template <class Step>
class ScopeExit {
public:
  explicit ScopeExit(Step step) : step_(std::move(step)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() {
    try {
      step_();
    } catch (...) {
      // A clean-up step must not replace the exception that is leaving.
    }
  }

private:
  Step step_;
};
