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

// Where the lines go when the program has no standard error: the console
// of its parent, or else the log. Decided once.
struct Fallback {
  HANDLE console = nullptr;
  std::optional<LogFile> log;
};

Fallback Choose() {
  Fallback fallback;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    if (Usable(console)) fallback.console = console;
  }
  if (!fallback.console) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    fallback.log.emplace(error ? std::string(kLogName) : (folder / kLogName).string());
  }
  return fallback;
}

void WriteLine(HANDLE handle, const std::string& line) {
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void WriteDiagnostic(const std::string& line) {
  // Asked at every line: a redirection made while the program runs (the C
  // library's dup2 onto stderr) moves it.
  if (HANDLE given = GetStdHandle(STD_ERROR_HANDLE); Usable(given)) {
    WriteLine(given, line);
    return;
  }
  static Fallback fallback = Choose();
  if (fallback.console) {
    WriteLine(fallback.console, line);
  } else {
    fallback.log->Append(line);
  }
}

}  // namespace platform
