#include "SimError.h"

#include <cerrno>

#if defined(_WIN32)
#include <windows.h>

#include "platform/library.h"
#endif

namespace sim {

#if defined(_WIN32)
namespace {

// A radio that is unplugged reads as "device not connected" and a pipe that
// is not open as an invalid handle, as they do through the Linux loader; the
// rest keep their nearest Windows meaning.
DWORD WindowsError(int posixError) {
  if (const DWORD device = platform::DeviceErrorCode(posixError); device != 0) return device;
  switch (posixError) {
    case ETIMEDOUT: return ERROR_SEM_TIMEOUT;
    case EOVERFLOW: return ERROR_MORE_DATA;
    case EMFILE: return ERROR_TOO_MANY_OPEN_FILES;
    default: return ERROR_INVALID_PARAMETER;
  }
}

}  // namespace
#endif

void SetFailureReason(int posixError) {
  errno = posixError;
#if defined(_WIN32)
  SetLastError(WindowsError(posixError));
#endif
}

}  // namespace sim
