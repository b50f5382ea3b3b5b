#include "tests/support/LoopbackSocket.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#endif

#include <mutex>
#include <stdexcept>

namespace testsupport::loopback {

namespace {

#if defined(_WIN32)
using Native = SOCKET;
using PollEntry = WSAPOLLFD;
constexpr int kSendFlags = 0;
int PollNow(PollEntry* entries, unsigned count, int timeoutMs) { return WSAPoll(entries, count, timeoutMs); }
bool Interrupted() { return WSAGetLastError() == WSAEINTR; }
bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
bool WasReset() { return WSAGetLastError() == WSAECONNRESET; }
void CloseNative(int fd) { ::closesocket(static_cast<Native>(fd)); }

// The test process's own use of Winsock, independent of the code under test,
// whose Cleanup calls must not take the servers' sockets away.
void EnsureStarted() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
  });
}

// Wine reports a reset by the peer as an orderly end of the data. A peer
// that reset refuses the next segment at once, one that closed gracefully
// does not, so one probe byte after the end tells them apart; the peer has
// closed either way, so the byte reaches nobody.
bool EndWasAReset(int fd) {
  const char probe = 0;
  if (::send(static_cast<Native>(fd), &probe, 1, 0) != SOCKET_ERROR) return false;
  const int error = WSAGetLastError();
  return error == WSAECONNRESET || error == WSAECONNABORTED;
}

// Blocking mode on or off (for a dontWait send).
// Keeps the last error: a send's would-block must survive the switch back.
void SetNonBlocking(int fd, bool on) {
  const int error = WSAGetLastError();
  u_long mode = on ? 1 : 0;
  ::ioctlsocket(static_cast<Native>(fd), FIONBIO, &mode);
  WSASetLastError(error);
}
#else
using Native = int;
using PollEntry = pollfd;
constexpr int kSendFlags = MSG_NOSIGNAL;
int PollNow(PollEntry* entries, unsigned count, int timeoutMs) { return ::poll(entries, count, timeoutMs); }
bool Interrupted() { return errno == EINTR; }
bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }
bool WasReset() { return errno == ECONNRESET; }
void CloseNative(int fd) { ::close(fd); }
void EnsureStarted() {}
#endif

sockaddr_in LoopbackAddress(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

int NewSocket() {
  EnsureStarted();
#if defined(_WIN32)
  Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  return s == INVALID_SOCKET ? kNoSocket : static_cast<int>(s);
#else
  return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
}

// Polls, going on after interruptions; the poll count, or -1.
int Poll(PollEntry* entries, unsigned count, int timeoutMs) {
  for (;;) {
    const int ready = PollNow(entries, count, timeoutMs);
    if (ready >= 0 || !Interrupted()) return ready;
  }
}

PollEntry Entry(int fd, short events) {
  PollEntry entry{};
  entry.fd = static_cast<Native>(fd);
  entry.events = events;
  return entry;
}

}  // namespace

int BoundSocket(std::uint16_t& port) {
  const int fd = NewSocket();
  if (fd == kNoSocket) throw std::runtime_error("socket failed");
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  if (::bind(static_cast<Native>(fd), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(static_cast<Native>(fd), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseNative(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool Listen(int fd, int backlog) { return ::listen(static_cast<Native>(fd), backlog) == 0; }

int AcceptConnection(int listener) {
#if defined(_WIN32)
  Native s = ::accept(static_cast<Native>(listener), nullptr, nullptr);
  const int fd = s == INVALID_SOCKET ? kNoSocket : static_cast<int>(s);
#else
  const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
#endif
  if (fd == kNoSocket) return kNoSocket;
  int one = 1;
  ::setsockopt(static_cast<Native>(fd), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  return fd;
}

int ConnectLoopback(std::uint16_t port, int bufferBytes) {
  const int fd = NewSocket();
  if (fd == kNoSocket) return kNoSocket;
  if (bufferBytes > 0) {
    for (const int option : {SO_RCVBUF, SO_SNDBUF})
      ::setsockopt(static_cast<Native>(fd), SOL_SOCKET, option, reinterpret_cast<const char*>(&bufferBytes),
                   sizeof bufferBytes);
  }
  const sockaddr_in address = LoopbackAddress(port);
  if (::connect(static_cast<Native>(fd), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    CloseNative(fd);
    return kNoSocket;
  }
  return fd;
}

void CloseSocket(int fd) {
  if (fd != kNoSocket) CloseNative(fd);
}

void SetResetOnClose(int fd) {
  linger reset{};
  reset.l_onoff = 1;
  reset.l_linger = 0;
  ::setsockopt(static_cast<Native>(fd), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
}

long SendSome(int fd, const char* data, std::size_t size, bool dontWait) {
  for (;;) {
#if defined(_WIN32)
    if (dontWait) SetNonBlocking(fd, true);
    const long sent = ::send(static_cast<Native>(fd), data, static_cast<int>(size), kSendFlags);
    if (dontWait) SetNonBlocking(fd, false);
#else
    const long sent = ::send(fd, data, size, kSendFlags | (dontWait ? MSG_DONTWAIT : 0));
#endif
    if (sent >= 0) return sent;
    if (Interrupted()) continue;
    return dontWait && WouldBlock() ? 0 : -1;
  }
}

long ReceiveSome(int fd, char* data, std::size_t size, bool& reset) {
  reset = false;
  for (;;) {
#if defined(_WIN32)
    const long count = ::recv(static_cast<Native>(fd), data, static_cast<int>(size), 0);
    if (count == 0 && EndWasAReset(fd)) {
      reset = true;
      return -1;
    }
#else
    const long count = ::recv(fd, data, size, 0);
#endif
    if (count >= 0) return count;
    if (Interrupted()) continue;
    reset = WasReset();
    return -1;
  }
}

Ready WaitReady(int fd, bool forWrite, int stop, int timeoutMs) {
  PollEntry entries[2] = {Entry(fd, forWrite ? POLLOUT : POLLIN), Entry(stop, POLLIN)};
  const int ready = Poll(entries, 2, timeoutMs);
  if (ready < 0) return Ready::Error;
  if (entries[1].revents & POLLIN) return Ready::Stop;
  if (entries[0].revents) return Ready::Fd;
  return Ready::Timeout;
}

bool WaitStop(int stop, int timeoutMs) {
  PollEntry entry = Entry(stop, POLLIN);
  return Poll(&entry, 1, timeoutMs) != 0;  // an error counts as a stop
}

StopChannel OpenStopChannel() {
  StopChannel channel;
#if defined(_WIN32)
  // Winsock polls only sockets, so the channel is a loopback connection.
  std::uint16_t port = 0;
  const int listener = BoundSocket(port);
  if (Listen(listener, 1)) {
    channel.writeEnd = ConnectLoopback(port);
    if (channel.writeEnd != kNoSocket) channel.readEnd = AcceptConnection(listener);
  }
  CloseNative(listener);
#else
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) == 0) {
    channel.readEnd = ends[0];
    channel.writeEnd = ends[1];
  }
#endif
  if (channel.readEnd == kNoSocket) {
    CloseSocket(channel.writeEnd);
    throw std::runtime_error("cannot open the stop channel");
  }
  return channel;
}

void Signal(const StopChannel& channel) {
  const char stop = 1;
#if defined(_WIN32)
  ::send(static_cast<Native>(channel.writeEnd), &stop, 1, 0);
#else
  (void)!::write(channel.writeEnd, &stop, 1);
#endif
}

void CloseStopChannel(StopChannel& channel) {
  CloseSocket(channel.readEnd);
  CloseSocket(channel.writeEnd);
  channel = StopChannel{};
}

}  // namespace testsupport::loopback
