#pragma once
// A session that opens up what derived sessions may use, for the tests, and
// small helpers for driving the message pump from a test.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "net/Psock.h"
#include "platform/messages.h"
#include "tests/support/PumpUntil.h"

class SessionProbe : public TPowersock {
public:
  explicit SessionProbe(TComponent* owner = nullptr) : TPowersock(owner) {}

  using TPowersock::CheckSocketError;
  using TPowersock::OnDataArrived;
  using TPowersock::OnPacketRecvd;
  using TPowersock::OnPacketSent;
  using TPowersock::OnSocketError;
  using TPowersock::Proxy;
  using TPowersock::ProxyPort;
  using TPowersock::TimerFired;

  platform::WindowHandle Window() const { return SessionWindow; }
  bool IsCanceled() const { return Canceled; }
  bool IsSucceeded() const { return Succeeded; }
  bool IsWaitDone() const { return WaitDone; }
  bool IsTimedOut() const { return TimedOut; }
  TThreadTimer* TimeOutTimer() const { return Timer; }

  // Records every status text (ReportLevel decides which arrive).
  std::vector<std::string> statuses;
  void RecordStatuses(int level) {
    ReportLevel = level;
    OnStatus = [this](TComponent*, const std::string& status) { statuses.push_back(status); };
  }
  int CountStatus(const std::string& text) const {
    int count = 0;
    for (const auto& status : statuses) count += status == text;
    return count;
  }
};

using testsupport::PumpOnce;
using testsupport::PumpUntil;

// Runs step on the UI thread from inside the next pump pass, through a
// hidden window of its own: a stand-in for a click or a tick of another
// timer that arrives while an operation waits.
class PostedStep {
public:
  PostedStep();
  ~PostedStep();
  PostedStep(const PostedStep&) = delete;
  PostedStep& operator=(const PostedStep&) = delete;
  void Post(std::function<void()> step);
  int Runs() const { return runs_; }

private:
  static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  platform::WindowHandle window_ = 0;
  std::vector<std::function<void()>> pending_;
  int runs_ = 0;
};
