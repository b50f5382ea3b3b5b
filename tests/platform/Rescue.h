#pragma once
// Ends a blocked wait of FLTK's loop once a deadline passes, unless stopped
// first, and tells whether it had to: a wait that needed it was never woken
// by what it was waiting for.

#include <FL/Fl.H>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class Rescue {
public:
  explicit Rescue(std::chrono::milliseconds deadline)
      : worker_([this, deadline] {
          std::unique_lock lock(mutex_);
          if (stopped_.wait_for(lock, deadline, [this] { return stop_; })) return;
          fired_ = true;
          Fl::awake();
        }) {}
  ~Rescue() { Stop(); }
  Rescue(const Rescue&) = delete;
  Rescue& operator=(const Rescue&) = delete;

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopped_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  bool Fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

private:
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  bool fired_ = false;
  std::thread worker_;  // last: it uses the members above
};
