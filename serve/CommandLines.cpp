#include "serve/CommandLines.h"

void CommandLines::Feed(std::string_view bytes, const LineHandler& onLine, const OverlongHandler& onOverlong) {
  while (!bytes.empty() && !stopped_) {
    const std::size_t newline = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, newline);
    const bool complete = newline != std::string_view::npos;
    bytes.remove_prefix(complete ? newline + 1 : bytes.size());

    if (!discarding_) {
      if (partial_.size() + piece.size() > kMaxLineBytes) {
        partial_.clear();
        discarding_ = true;
        onOverlong();
      } else {
        partial_.append(piece);
      }
    }
    if (!complete) break;
    if (discarding_) {
      discarding_ = false;
      continue;
    }
    std::string line;
    line.swap(partial_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    onLine(line);
  }
}
