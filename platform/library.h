#pragma once
// Loading a shared library by its bare name at run time, its entry points,
// and the thread's last system error code.

#include <cerrno>
#include <cstdint>
#include <string>

namespace platform {

using ModuleHandle = void*;  // nullptr: not loaded

// "mpusbapi" opens libmpusbapi.so (Linux, with the loader's usual search:
// LD_LIBRARY_PATH first) or mpusbapi.dll (Windows).
ModuleHandle LoadModule(const char* name);
void* FindSymbol(ModuleHandle module, const char* name);  // nullptr when not exported

// Why the last LoadModule of this thread failed, in the system's words; call
// it right after the failure, before any other loader call.
std::string LastLoadFailure();
// The file a loaded module came from, as an absolute path; empty when it
// can't be told.
std::string ModulePath(ModuleHandle module);

constexpr std::uint32_t kErrorInvalidHandle = 6;

// The errno values that read as kErrorInvalidHandle: a device that is gone or
// a handle that is not valid. Inline, so that a USB library that reports its
// failures in Windows numbering follows the same rule without this library.
inline bool MeansInvalidHandle(int posixError) {
  return posixError == ENODEV || posixError == ENXIO || posixError == EBADF;
}

// The last system error of this thread in Windows numbering. On POSIX the
// errno values of MeansInvalidHandle read as kErrorInvalidHandle; other
// errno values pass through unchanged.
std::uint32_t LastSystemError();

}  // namespace platform
