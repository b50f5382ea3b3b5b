#include "serve/ServeConfig.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "panel/ReadFileLine.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A stray carriage return (a last line without its line feed) or blanks
// around the address are not part of it.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// False when the file can't be opened; a file that is there but can't be
// read (no permission) is a problem worth a line.
bool FileOpens(const std::string& fileName, std::vector<std::string>& problems) {
  errno = 0;
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) {
    if (errno != 0 && errno != ENOENT) {
      problems.push_back(fileName + " can't be read (" + std::strerror(errno) + "); both servers stay off");
    }
    return false;
  }
  std::fclose(file);
  return true;
}

std::optional<ListenAddress> ReadAddress(const std::string& fileName, int line, const char* server,
                                         std::vector<std::string>& problems) {
  const std::string text(Trimmed(ReadFileLine(fileName, line)));
  if (text.empty()) return std::nullopt;
  std::string error;
  auto address = ParseListenAddress(text, error);
  if (!address) {
    problems.push_back(fileName + " line " + std::to_string(line) + ": " + error + "; the " + server +
                       " stays off");
  }
  return address;
}

}  // namespace

ServeConfig ReadServeConfig(const std::string& fileName) {
  ServeConfig config;
  // The line reader reads a missing file as "0" on every line; no file
  // means both servers off, without a word.
  if (!FileOpens(fileName, config.problems)) return config;

  config.stateFeed = ReadAddress(fileName, 0, "state feed", config.problems);
  config.rigControl = ReadAddress(fileName, 1, "rig-control port", config.problems);
  // Also what a one-line file without a final line feed gives: the line
  // reader then reads that line again as line 1.
  if (config.stateFeed && config.rigControl && config.stateFeed->Overlaps(*config.rigControl)) {
    config.problems.push_back(fileName + " line 1: " + config.rigControl->Text() + " is the state feed's port (line 0)" +
                              "; the rig-control port stays off");
    config.rigControl.reset();
  }
  return config;
}
