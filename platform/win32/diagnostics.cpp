// Where a Windows GUI program's lines can reach the operator, decided at the
// first line: the standard error it was given (a redirection, or a parent
// that passed its handles), else the console of the program that started it
// (cmd, PowerShell), else ravolin.log in the working folder, as when a
// shortcut starts it. The log has a file handle of its own: a missing
// stderr can't be reopened onto a file.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/diagnostics.h"
#include "platform/log_file.h"

namespace platform {
namespace {

constexpr char kLogName[] = "ravolin.log";

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

struct Destination {
  HANDLE handle = nullptr;       // stderr or the parent's console
  std::optional<LogFile> log;  // when there is neither
};

Destination Choose() {
  Destination destination;
  if (HANDLE given = GetStdHandle(STD_ERROR_HANDLE); Usable(given)) {
    destination.handle = given;
  } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    if (Usable(console)) destination.handle = console;
  }
  if (!destination.handle) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    destination.log.emplace(error ? std::string(kLogName) : (folder / kLogName).string());
  }
  return destination;
}

}  // namespace

void WriteDiagnostic(const std::string& line) {
  static Destination destination = Choose();
  if (destination.log) {
    destination.log->Append(line);
    return;
  }
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(destination.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace platform
