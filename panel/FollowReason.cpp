#include "panel/FollowReason.h"

#include <cstdio>

namespace follow {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> StatusOfHeader(const std::string& header) {
  const std::string line = header.substr(0, header.find('\n'));
  if (line.rfind("HTTP/", 0) != 0) return std::nullopt;
  const std::size_t blank = line.find(' ');
  if (blank == std::string::npos || blank + 4 > line.size()) return std::nullopt;
  const std::size_t code = blank + 1;
  if (!IsDigit(line[code]) || !IsDigit(line[code + 1]) || !IsDigit(line[code + 2])) return std::nullopt;
  if (code + 3 < line.size() && line[code + 3] != ' ' && line[code + 3] != '\r') return std::nullopt;
  return (line[code] - '0') * 100 + (line[code + 1] - '0') * 10 + (line[code + 2] - '0');
}

bool IsGoodStatus(int status) { return status >= 200 && status <= 299; }

std::string StatusReason(int status) { return "status " + std::to_string(status); }

std::string TooLongReason(std::uint32_t maxBytes) {
  return "answer longer than " + std::to_string(maxBytes) + " bytes";
}

std::string DeadlineReason(std::uint32_t deadlineMs) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", deadlineMs / 1000.0);
  return std::string("no complete answer within ") + seconds + " s";
}

}  // namespace follow
