#include "app/WorkingFolder.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

void WriteIfMissing(const fs::path& file, const char* text) {
  std::error_code error;
  if (fs::exists(file, error) || error) return;
  std::ofstream(file, std::ios::binary) << text;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

}  // namespace

bool PrepareUserFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return false;
  WriteIfMissing(folder / "host.ini", "\n");
  WriteIfMissing(folder / "freq.ini", "7050\n0\nSSB\n0\n");
  return true;
}

fs::path SettleWorkingFolder(const fs::path& programFile, const fs::path& userFolder) {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (error) return {};
  const fs::path programFolder = fs::absolute(programFile, error).parent_path();
  const bool installedCopyAtHome =
      !userFolder.empty() && SameFolder(current, programFolder) && fs::exists(programFolder / kUninstallerName, error);
  if (!installedCopyAtHome || !PrepareUserFolder(userFolder)) return current;
  fs::current_path(userFolder, error);
  return error ? current : fs::current_path(error);
}
