#include "serve/RigRequest.h"

#include <cctype>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsSeparator(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return std::ispunct(u) && c != '\\' && c != '_' && c != '#' && c != '(' && c != ')';
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

std::vector<std::string_view> RigWords(std::string_view text) {
  std::vector<std::string_view> words;
  for (text = SkipBlanks(text); !text.empty(); text = SkipBlanks(text)) {
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    words.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return words;
}

std::optional<RigRequest> ParseRigRequest(std::string_view line) {
  line = SkipBlanks(line);
  if (line.empty() || line.front() == '#') return std::nullopt;
  RigRequest request;
  if (line.front() == '+') {
    request.extended = true;
    line.remove_prefix(1);
  }
  if (!line.empty() && IsSeparator(line.front())) {
    request.extended = true;
    request.separator = line.front();
    line.remove_prefix(1);
  }
  // "+ f" and "; f": the prefix stands alone and the command follows.
  if (request.extended) line = SkipBlanks(line);
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  request.command = line.substr(0, end);
  request.rest = line.substr(end);
  request.words = RigWords(request.rest);
  return request;
}
