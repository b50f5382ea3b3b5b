#pragma once
// Collects the head of one HTTP request (request line and header lines, up
// to the empty line that ends them) from bytes as they arrive. Lines may end
// in CR LF or LF alone; empty lines before the request line are skipped. A
// head may take up to kMaxBytes, the skipped lines included.

#include <cstddef>
#include <string>
#include <string_view>

class RequestHead {
public:
  static constexpr std::size_t kMaxBytes = 8192;

  enum class Status {
    NeedMore,  // no end yet: read on
    Complete,  // Text() is the whole head; bytes after it are not kept
    TooLong,   // no end within kMaxBytes: drop the connection unanswered
    Bad,       // a byte no head may hold (a control character): answer 400
  };

  // Takes the next bytes; once the status is no longer NeedMore, later
  // bytes change nothing.
  Status Add(std::string_view bytes);
  Status status() const { return status_; }

  // The head so far, skipped lines left out; the whole head, its empty line
  // included, once Complete.
  const std::string& Text() const { return head_; }

private:
  void EndOfLine();

  std::string head_;
  std::size_t taken_ = 0;      // bytes taken so far, skipped ones included
  std::size_t lineStart_ = 0;  // in head_
  Status status_ = Status::NeedMore;
};
