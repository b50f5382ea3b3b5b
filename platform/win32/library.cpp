// The loader on LoadLibraryA: a bare name gets the ".dll" suffix and the
// system's search, the program's own folder first.

#include <windows.h>

#include <string>

#include "platform/library.h"

namespace platform {

ModuleHandle LoadModule(const char* name) {
  // No system dialog for a library that is missing or of the wrong kind (a
  // 32-bit library in a 64-bit program): the caller just gets no module.
  DWORD previous = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
  HMODULE module = LoadLibraryA(name);
  DWORD error = GetLastError();
  SetThreadErrorMode(previous, nullptr);
  SetLastError(error);
  return module;
}

void* FindSymbol(ModuleHandle module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

std::string LastLoadFailure() {
  const DWORD error = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : message;
}

std::string ModulePath(ModuleHandle module) {
  if (!module) return "";
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(static_cast<HMODULE>(module), path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : "";
}

std::uint32_t LastSystemError() { return GetLastError(); }

void ClearLastSystemError() { SetLastError(0); }

}  // namespace platform
