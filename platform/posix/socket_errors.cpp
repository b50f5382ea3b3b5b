#include "platform/posix/socket_errors.h"

#include <netdb.h>

#include <cerrno>

#include "platform/sockets.h"

namespace sock {
namespace {
thread_local int lastError = 0;
}

int LastError() { return lastError; }

namespace detail {

void SetLastError(int error) { lastError = error; }

int FailFromErrno() {
  lastError = ErrorFromErrno(errno);
  return kSocketError;
}

int ErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case 0: return 0;
    case EINTR: return kErrInterrupted;
    case EBADF: return kErrNotSocket;  // a closed handle is "not a socket"
    case EACCES:
    case EPERM: return kErrAccess;
    case EFAULT: return kErrFault;
    case EINVAL: return kErrInvalid;
    case EMFILE:
    case ENFILE: return kErrTooManyFiles;
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN:
    case EINPROGRESS: return kErrWouldBlock;  // a non-blocking connect under way, too
    case EALREADY: return kErrAlready;
    case ENOTSOCK: return kErrNotSocket;
    case EDESTADDRREQ: return kErrDestAddrRequired;
    case EMSGSIZE: return kErrMsgSize;
    case EPROTOTYPE: return kErrProtoType;
    case ENOPROTOOPT: return kErrNoProtoOption;
    case EPROTONOSUPPORT: return kErrProtoNoSupport;
    case ESOCKTNOSUPPORT: return kErrSocketTypeNoSupport;
    case EOPNOTSUPP: return kErrOpNotSupported;
    case EPFNOSUPPORT: return kErrProtoFamilyNoSupport;
    case EAFNOSUPPORT: return kErrAddrFamilyNoSupport;
    case EADDRINUSE: return kErrAddrInUse;
    case EADDRNOTAVAIL: return kErrAddrNotAvail;
    case ENETDOWN: return kErrNetDown;
    case ENETUNREACH: return kErrNetUnreach;
    case ENETRESET: return kErrNetReset;
    case ECONNABORTED: return kErrConnAborted;
    case ECONNRESET: return kErrConnReset;
    case ENOBUFS:
    case ENOMEM: return kErrNoBufs;
    case EISCONN: return kErrIsConn;
    case ENOTCONN: return kErrNotConn;
    case EPIPE:
    case ESHUTDOWN: return kErrShutdown;
    case ETIMEDOUT: return kErrTimedOut;
    case ECONNREFUSED: return kErrConnRefused;
    case ELOOP: return kErrLoop;
    case ENAMETOOLONG: return kErrNameTooLong;
    case EHOSTDOWN: return kErrHostDown;
    case EHOSTUNREACH: return kErrHostUnreach;
    default: return kErrInvalid;
  }
}

int ErrorFromLookup(int gaiCode, int errnoValue) {
  switch (gaiCode) {
    case 0: return 0;
    case EAI_NONAME: return kErrHostNotFound;
    case EAI_AGAIN: return kErrTryAgain;
    case EAI_FAIL: return kErrNoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA: return kErrNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY: return kErrNoData;
#endif
    case EAI_MEMORY: return kErrNoBufs;
    case EAI_SYSTEM: return ErrorFromErrno(errnoValue);
    default: return kErrNoRecovery;
  }
}

}  // namespace detail
}  // namespace sock
