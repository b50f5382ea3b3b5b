#include "net/SockErrors.h"

#include <iterator>

#include "platform/sockets.h"

namespace {

struct ErrorRow {
  int number;
  const char* text;
};

constexpr ErrorRow kErrorTable[] = {
    {sock::kErrInterrupted, "Interrupted system call"},
    {sock::kErrBadFile, "Bad file number"},
    {sock::kErrAccess, "Permission denied"},
    {sock::kErrFault, "Bad address"},
    {sock::kErrInvalid, "Invalid argument"},
    {sock::kErrTooManyFiles, "Too many open files"},
    {sock::kErrWouldBlock, "Operation would block"},
    {sock::kErrInProgress, "Operation now in progress"},
    {sock::kErrAlready, "Operation already in progress"},
    {sock::kErrNotSocket, "Socket operation on non-socket"},
    {sock::kErrDestAddrRequired, "Destination address required"},
    {sock::kErrMsgSize, "Message too long"},
    {sock::kErrProtoType, "Wrong protocol type for socket"},
    {sock::kErrNoProtoOption, "Bad protocol option"},
    {sock::kErrProtoNoSupport, "Protocol not supported"},
    {sock::kErrSocketTypeNoSupport, "Socket type not supported"},
    {sock::kErrOpNotSupported, "Operation not supported on socket"},
    {sock::kErrProtoFamilyNoSupport, "Protocol family not supported"},
    {sock::kErrAddrFamilyNoSupport, "Address family not supported by protocol family"},
    {sock::kErrAddrInUse, "Address already in use"},
    {sock::kErrAddrNotAvail, "Can't assign requested address"},
    {sock::kErrNetDown, "Network is down"},
    {sock::kErrNetUnreach, "Network is unreachable"},
    {sock::kErrNetReset, "Network dropped connection or reset"},
    {sock::kErrConnAborted, "Software caused connection abort"},
    {sock::kErrConnReset, "Connection reset by peer"},
    {sock::kErrNoBufs, "No buffer space available"},
    {sock::kErrIsConn, "Socket is already connected"},
    {sock::kErrNotConn, "Socket is not connected"},
    {sock::kErrShutdown, "Can't send after socket shutdown"},
    {sock::kErrTooManyRefs, "Too many references, can't splice"},
    {sock::kErrTimedOut, "Connection timed out"},
    {sock::kErrConnRefused, "Connection refused"},
    {sock::kErrLoop, "Too many levels of symbolic links"},
    {sock::kErrNameTooLong, "File name too long"},
    {sock::kErrHostDown, "Host is down"},
    {sock::kErrHostUnreach, "No route to Host"},
    {sock::kErrNotEmpty, "Directory not empty"},
    {sock::kErrProcessLimit, "Too many processes"},
    {sock::kErrUsers, "Too many users"},
    {sock::kErrDiskQuota, "Disc quota exceeded"},
    {sock::kErrStale, "Stale NFS file handle"},
    {sock::kErrRemote, "Too many levels of remote in path"},
    {sock::kErrSystemNotReady, "Network subsystem is unavailable"},
    {sock::kErrVersionNotSupported, "Incompatible version of WINSOCK.DLL"},
    {sock::kErrNotInitialised, "Successful WSAStartup not yet performed"},
    {sock::kErrHostNotFound, "Host not found"},
    {sock::kErrTryAgain, "Non-Authoritative Host not found"},
    {sock::kErrNoRecovery, "Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
    {sock::kErrNoData, "Valid name, no data record of requested type"},
};
static_assert(std::size(kErrorTable) == 50);

}  // namespace

const char* SocketErrorText(int number) {
  for (const ErrorRow& row : kErrorTable)
    if (row.number == number) return row.text;
  return nullptr;
}

std::string FormatSocketError(int number) {
  if (number == 0) return {};
  if (const char* text = SocketErrorText(number)) return std::to_string(number) + ":" + text;
  return "Unknown Error No. " + std::to_string(number);
}
