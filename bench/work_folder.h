#pragma once
// A temporary folder of its own for a benchmark run, the process's working
// folder while the object lives; removed with everything in it afterwards.

#include <filesystem>

namespace bench {

class WorkFolder {
public:
  WorkFolder();  // throws std::runtime_error when it cannot be made
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace bench
