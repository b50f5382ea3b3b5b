#include "panel/FileInPlace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/Exception.h"

namespace {

[[noreturn]] void CannotReplace(const std::string& target, const std::string& why) {
  throw EFCreateError("Cannot replace " + target + ": " + why);
}

// Opening for update changes nothing in the file, and is refused exactly
// where writing it would be.
void CheckWritable(const std::string& target) {
  errno = 0;
  if (std::FILE* file = std::fopen(target.c_str(), "r+b")) {
    std::fclose(file);
    return;
  }
  if (errno == ENOENT) return;  // nothing there to protect
  CannotReplace(target, std::strerror(errno != 0 ? errno : EACCES));
}

}  // namespace

void PutInPlace(const std::string& finished, const std::string& target) {
  CheckWritable(target);
  std::error_code error;
  std::filesystem::rename(finished, target, error);
  if (error) CannotReplace(target, error.message());
}

void DiscardFile(const std::string& name) {
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return;
  std::filesystem::remove(name, error);
}
