// The loader on LoadLibraryA: a bare name gets the ".dll" suffix and the
// system's search, the program's own folder first.

#include <windows.h>

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

std::uint32_t LastSystemError() { return GetLastError(); }

}  // namespace platform
