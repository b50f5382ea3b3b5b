#include "serve/RequestHead.h"

namespace {

// Tab, CR and LF are the only control characters a head may hold.
bool IsForbidden(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; }

}  // namespace

RequestHead::Status RequestHead::Add(std::string_view bytes) {
  for (const char c : bytes) {
    if (status_ != Status::NeedMore) break;
    if (taken_ == kMaxBytes) {
      status_ = Status::TooLong;
      break;
    }
    ++taken_;
    if (head_.empty() && (c == '\r' || c == '\n')) continue;
    if (IsForbidden(static_cast<unsigned char>(c))) {
      status_ = Status::Bad;
      break;
    }
    head_.push_back(c);
    if (c == '\n') EndOfLine();
  }
  return status_;
}

// An empty line (nothing, or a CR alone, before the LF) ends the head.
void RequestHead::EndOfLine() {
  const std::size_t length = head_.size() - 1 - lineStart_;
  if (length == 0 || (length == 1 && head_[lineStart_] == '\r')) {
    status_ = Status::Complete;
  } else {
    lineStart_ = head_.size();
  }
}
