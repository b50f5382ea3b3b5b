#include "panel/ErrorReport.h"

namespace {

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string ApplicationTitle(const std::string& programPath) {
  std::size_t start = programPath.size();
  while (start > 0 && !IsPathSeparator(programPath[start - 1])) --start;
  std::string title = programPath.substr(start);
  title = title.substr(0, title.find('.'));
  for (char& c : title) c = AsciiLower(c);
  if (!title.empty()) title[0] = AsciiUpper(title[0]);
  return title;
}

std::string ErrorBoxText(const std::string& message) {
  if (message.empty()) return message;
  const auto last = static_cast<unsigned char>(message.back());
  return last > static_cast<unsigned char>('.') ? message + "." : message;
}
