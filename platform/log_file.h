#pragma once
// An append-only text log that stays small: each line is stamped with the
// local date and time, and when the file has grown past its bound the older
// half is dropped, at a line boundary. The file is opened for each line and
// closed again, so nothing is held open between lines and a file another
// program moved or deleted is simply made afresh.

#include <cstdint>
#include <string>

namespace platform {

class LogFile {
public:
  static constexpr std::uintmax_t kDefaultBound = 1024 * 1024;

  explicit LogFile(std::string path, std::uintmax_t bound = kDefaultBound);

  // Appends "YYYY-MM-DD hh:mm:ss line". False when the file could not be
  // written; the caller has nothing better to do with that than go on.
  bool Append(const std::string& line);

  const std::string& Path() const { return path_; }

private:
  void TrimIfOverBound();

  std::string path_;
  std::uintmax_t bound_;
};

}  // namespace platform
