#pragma once
// Splits one client's byte stream into command lines. A line ends at LF; a
// CR right before the LF is not part of it. A line may hold at most
// kMaxLineBytes bytes (a CR before its LF included): a longer line is
// reported once, as soon as it passes the cap, and its bytes are dropped up
// to and including the next LF, so one endless line costs no more memory
// than the cap.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CommandLines {
public:
  static constexpr std::size_t kMaxLineBytes = 1024;

  using LineHandler = std::function<void(std::string_view line)>;
  using OverlongHandler = std::function<void()>;

  // Runs onLine for every line the bytes complete, in order, and
  // onOverlong for every line that passes the cap. Either may stop the
  // splitting with Stop (a client that asked to quit).
  void Feed(std::string_view bytes, const LineHandler& onLine, const OverlongHandler& onOverlong);

  // Drops the rest of the bytes being fed, and every later byte.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }

  // Bytes of the line not yet complete (at most kMaxLineBytes).
  std::size_t Pending() const { return partial_.size(); }

private:
  std::string partial_;
  bool discarding_ = false;  // inside a line that passed the cap
  bool stopped_ = false;
};
