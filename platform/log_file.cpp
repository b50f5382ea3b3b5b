#include "platform/log_file.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace platform {
namespace {

std::string DateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text, length);
}

}  // namespace

LogFile::LogFile(std::string path, std::uintmax_t bound) : path_(std::move(path)), bound_(bound) {}

bool LogFile::Append(const std::string& line) {
  TrimIfOverBound();
  std::FILE* file = std::fopen(path_.c_str(), "ab");
  if (!file) return false;
  const std::string text = DateTimeNow() + " " + line + "\r\n";
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

void LogFile::TrimIfOverBound() {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path_, error);
  if (error || size <= bound_) return;
  std::string text;
  {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Keep the newer half, from the first whole line in it.
  std::size_t from = text.find('\n', text.size() / 2);
  from = from == std::string::npos ? text.size() : from + 1;
  const std::string part = path_ + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
    if (!out.flush()) return;
  }
  std::filesystem::rename(part, path_, error);
  if (error) std::filesystem::remove(part, error);
}

}  // namespace platform
