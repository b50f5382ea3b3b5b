#pragma once
// Runs work on a thread of its own, for a blocking client of a server that
// lives on the test's thread: the test pumps messages until Done().

#include <atomic>
#include <functional>
#include <thread>

namespace testsupport {

class BackgroundTask {
public:
  explicit BackgroundTask(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          work();
          done_ = true;
        }) {}
  ~BackgroundTask() { thread_.join(); }
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  bool Done() const { return done_; }

private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace testsupport
