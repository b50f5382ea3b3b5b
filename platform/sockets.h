#pragma once
// Message-notified TCP sockets, shaped like the Windows Sockets 1.1 calls the
// session layer was designed against, with their numbers: handles fit in 16
// bits, errors are the WSA error numbers, notifications arrive as window
// messages (platform/messages.h).
//
// Notification rules (for a socket registered with AsyncSelect, which also
// makes it non-blocking): kFdConnect once when a connect completes, with its
// error; kFdRead when data is waiting, and again only after a Recv; kFdClose
// once, after the peer closed and no unread data remains; kFdAccept again
// after each Accept. lParam carries the event in its low word and the error
// in its high word (MakeSelectLParam).
//
// A server listens with Bind, Listen and AsyncSelect(kFdAccept); each
// accepted socket starts with the listener's registration, and is given its
// own with a second AsyncSelect.

#include <cstdint>

#include "platform/messages.h"

namespace sock {

using Socket = std::uintptr_t;
constexpr Socket kInvalidSocket = ~Socket(0);
constexpr int kSocketError = -1;
constexpr std::uint32_t kInAddrNone = 0xFFFFFFFFu;

constexpr int kAfInet = 2;
constexpr int kSockStream = 1;
constexpr int kSockDgram = 2;
constexpr int kIpProtoTcp = 6;
constexpr int kMsgOob = 1;
constexpr int kMsgPeek = 2;
constexpr int kMsgDontRoute = 4;
constexpr int kShutdownSend = 1;  // Shutdown: no more sends, the peer reads the end of the data

// Event codes for AsyncSelect.
constexpr long kFdRead = 1;
constexpr long kFdWrite = 2;
constexpr long kFdOob = 4;
constexpr long kFdAccept = 8;
constexpr long kFdConnect = 16;
constexpr long kFdClose = 32;

// Error numbers (WSAGetLastError values): every number the session's error
// table knows.
constexpr int kErrInterrupted = 10004;
constexpr int kErrBadFile = 10009;
constexpr int kErrAccess = 10013;
constexpr int kErrFault = 10014;
constexpr int kErrInvalid = 10022;
constexpr int kErrTooManyFiles = 10024;
constexpr int kErrWouldBlock = 10035;
constexpr int kErrInProgress = 10036;
constexpr int kErrAlready = 10037;
constexpr int kErrNotSocket = 10038;
constexpr int kErrDestAddrRequired = 10039;
constexpr int kErrMsgSize = 10040;
constexpr int kErrProtoType = 10041;
constexpr int kErrNoProtoOption = 10042;
constexpr int kErrProtoNoSupport = 10043;
constexpr int kErrSocketTypeNoSupport = 10044;
constexpr int kErrOpNotSupported = 10045;
constexpr int kErrProtoFamilyNoSupport = 10046;
constexpr int kErrAddrFamilyNoSupport = 10047;
constexpr int kErrAddrInUse = 10048;
constexpr int kErrAddrNotAvail = 10049;
constexpr int kErrNetDown = 10050;
constexpr int kErrNetUnreach = 10051;
constexpr int kErrNetReset = 10052;
constexpr int kErrConnAborted = 10053;
constexpr int kErrConnReset = 10054;
constexpr int kErrNoBufs = 10055;
constexpr int kErrIsConn = 10056;
constexpr int kErrNotConn = 10057;
constexpr int kErrShutdown = 10058;
constexpr int kErrTooManyRefs = 10059;
constexpr int kErrTimedOut = 10060;
constexpr int kErrConnRefused = 10061;
constexpr int kErrLoop = 10062;
constexpr int kErrNameTooLong = 10063;
constexpr int kErrHostDown = 10064;
constexpr int kErrHostUnreach = 10065;
constexpr int kErrNotEmpty = 10066;
constexpr int kErrProcessLimit = 10067;
constexpr int kErrUsers = 10068;
constexpr int kErrDiskQuota = 10069;
constexpr int kErrStale = 10070;
constexpr int kErrRemote = 10071;
constexpr int kErrSystemNotReady = 10091;
constexpr int kErrVersionNotSupported = 10092;
constexpr int kErrNotInitialised = 10093;
constexpr int kErrHostNotFound = 11001;
constexpr int kErrTryAgain = 11002;
constexpr int kErrNoRecovery = 11003;
constexpr int kErrNoData = 11004;

// Errors at or below this number are not socket errors: nothing to raise.
constexpr int kErrBase = 10000;

// IPv4 socket address, 16 bytes; port and address in network byte order.
struct SockAddrIn {
  std::uint16_t family;
  std::uint16_t port;
  std::uint32_t address;
  std::uint8_t zero[8];
};
static_assert(sizeof(SockAddrIn) == 16);

// The host entry an asynchronous lookup writes into the caller's buffer; the
// pointers point into that same buffer. Laid out like the Windows hostent.
struct HostEntry {
  char* name;
  char** aliases;
  std::int16_t addressType;
  std::int16_t addressLength;
  char** addressList;  // NULL-terminated list of addressLength-byte addresses
};

using AsyncTask = std::uintptr_t;  // 0: the lookup could not be started

int Startup(std::uint16_t version);  // 0 on success
int Cleanup();
Socket Create(int family, int type, int protocol);  // kInvalidSocket on failure
int SetLinger(Socket s, std::uint16_t onOff, std::uint16_t seconds);
int AsyncSelect(Socket s, platform::WindowHandle window, std::uint32_t message, long events);
std::uint32_t InetAddr(const char* text);  // kInAddrNone when it is not a dotted address
std::uint16_t Htons(std::uint16_t value);
int Connect(Socket s, const SockAddrIn& address);
int Send(Socket s, const void* data, int length, int flags);
int Recv(Socket s, void* data, int length, int flags);
int Close(Socket s);
Socket Accept(Socket s, SockAddrIn* peer);
int LastError();

// For a listening socket: binds the address (a port whose earlier
// connections are still closing can be bound again, but never one another
// socket listens on), then listens with a queue of backlog connections.
int Bind(Socket s, const SockAddrIn& address);
int Listen(Socket s, int backlog);
// The address a socket is bound to (the port the system chose for port 0).
int LocalAddress(Socket s, SockAddrIn* address);
// Ends one direction of a connection (kShutdownSend).
int Shutdown(Socket s, int how);

// Resolves name on a worker thread and posts message to window when done:
// wParam the task, lParam MakeSelectLParam(reply length, error). The entry is
// written into buffer on the UI thread just before the message is handled;
// never after CancelAsyncRequest, and never for a destroyed window (the
// message is then dropped as well).
AsyncTask AsyncGetHostByName(platform::WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                             int bufferLength);
int CancelAsyncRequest(AsyncTask task);

constexpr std::intptr_t MakeSelectLParam(std::uint16_t low, std::uint16_t high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(high) << 16) | low);
}
constexpr std::uint16_t SelectEvent(std::intptr_t lParam) { return static_cast<std::uint16_t>(lParam & 0xFFFF); }
constexpr std::uint16_t SelectError(std::intptr_t lParam) {
  return static_cast<std::uint16_t>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
}

}  // namespace sock
