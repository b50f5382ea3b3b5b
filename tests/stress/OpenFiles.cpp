#include "tests/stress/OpenFiles.h"

#include <dirent.h>

#include "tests/support/WaitUntil.h"

namespace stresstest {

int OpenFileCount() {
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int count = 0;
  while (const dirent* entry = ::readdir(dir))
    if (entry->d_name[0] != '.') ++count;
  ::closedir(dir);
  return count - 1;  // the directory stream itself
}

int SettledOpenFileCount(int baseline) {
  int count = OpenFileCount();
  testsupport::WaitUntil([&] { return (count = OpenFileCount()) == baseline; }, std::chrono::seconds(2));
  return count;
}

}  // namespace stresstest
