#include "bench/work_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace bench {

WorkFolder::WorkFolder() : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ravolin_follow_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a working folder");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

WorkFolder::~WorkFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace bench
