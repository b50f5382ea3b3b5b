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
constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

// The Windows number of an errno value that a USB library leaves: a device
// that is not connected (ENODEV, its handle still valid) reads as
// kErrorDeviceNotConnected, a handle the library does not know (EBADF,
// ENXIO) as kErrorInvalidHandle; 0 for any other value. Inline, so that a
// USB library that reports its failures in Windows numbering follows the
// same rule without this library.
inline std::uint32_t DeviceErrorCode(int posixError) {
  if (posixError == ENODEV) return kErrorDeviceNotConnected;
  if (posixError == EBADF || posixError == ENXIO) return kErrorInvalidHandle;
  return 0;
}

// The last system error of this thread in Windows numbering. On POSIX the
// errno values of DeviceErrorCode read as its codes; other errno values pass
// through unchanged.
std::uint32_t LastSystemError();
// Clears it, so that a failure that sets no error of its own reads as 0.
void ClearLastSystemError();

}  // namespace platform
