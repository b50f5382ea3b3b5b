#include "serve/FeedRequest.h"

#include <vector>

namespace {

constexpr std::string_view kResource = "/freq.ini";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c)) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsTokenChar(c)) return false;
  }
  return true;
}

// Visible ASCII only: no blanks, controls or bytes above 0x7E.
bool IsVisible(std::string_view text) {
  for (char c : text) {
    if (c <= 0x20 || c >= 0x7F) return false;
  }
  return !text.empty();
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    const char c = (text[i] >= 'A' && text[i] <= 'Z') ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

// Lines of the head without their line ends; the empty line that ends the
// head is left out. A CR anywhere but before an LF makes the head bad.
bool SplitLines(std::string_view head, std::vector<std::string_view>& lines) {
  while (!head.empty()) {
    std::size_t newline = head.find('\n');
    if (newline == std::string_view::npos) newline = head.size();
    std::string_view line = head.substr(0, newline);
    head.remove_prefix(newline == head.size() ? newline : newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\r') != std::string_view::npos) return false;
    if (line.empty()) break;
    lines.push_back(line);
  }
  return !lines.empty();
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!line.empty()) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    if (end > 0) words.push_back(line.substr(0, end));
    line.remove_prefix(end);
  }
  return words;
}

// "HTTP/" major "." minor; the major number, or -1 when it does not parse.
int MajorVersion(std::string_view version) {
  if (version.substr(0, 5) != "HTTP/") return -1;
  version.remove_prefix(5);
  const std::size_t dot = version.find('.');
  if (dot == 0 || dot == std::string_view::npos || dot + 1 == version.size() || dot > 3) return -1;
  for (std::size_t i = 0; i < version.size(); ++i) {
    if (i != dot && !IsDigit(version[i])) return -1;
  }
  int major = 0;
  for (std::size_t i = 0; i < dot; ++i) major = major * 10 + (version[i] - '0');
  return major;
}

// The path of an origin-form or absolute-form target, its query left off;
// false for any other form.
bool PathOf(std::string_view target, std::string_view& path) {
  if (StartsWithIgnoringCase(target, "http://")) {
    target.remove_prefix(7);
    const std::size_t slash = target.find('/');
    if (slash == 0) return false;  // no host
    target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
  }
  if (target.empty() || target.front() != '/') return false;
  path = target.substr(0, target.find('?'));
  return true;
}

bool IsHeaderLine(std::string_view line) {
  const std::size_t colon = line.find(':');
  return colon != std::string_view::npos && IsToken(line.substr(0, colon));
}

}  // namespace

FeedRequest ParseFeedRequest(std::string_view head) {
  FeedRequest request;
  std::vector<std::string_view> lines;
  if (!SplitLines(head, lines)) return request;

  const std::vector<std::string_view> words = Words(lines.front());
  std::string_view path;
  if (words.size() != 3 || !IsToken(words[0]) || !IsVisible(words[1]) || !PathOf(words[1], path)) return request;
  const int major = MajorVersion(words[2]);
  if (major < 0) return request;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const bool continuation = IsBlank(lines[i].front());
    if (continuation ? i == 1 : !IsHeaderLine(lines[i])) return request;
  }

  const std::string_view method = words[0];
  request.headOnly = method == "HEAD";
  if (major != 1) {
    request.status = 505;
  } else if (path != kResource) {
    request.status = 404;
  } else if (method != "GET" && method != "HEAD") {
    request.status = 405;
  } else {
    request.status = 200;
  }
  return request;
}
