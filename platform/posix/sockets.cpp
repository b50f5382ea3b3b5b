// The socket calls on POSIX sockets. Handles are the descriptors themselves;
// they stay below FD_SETSIZE so that the event loop can wait on them, which
// also keeps them within 16 bits.

#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/socket_errors.h"
#include "platform/posix/socket_notify.h"
#include "platform/sockets.h"

namespace sock {
namespace {

using detail::FailFromErrno;
using detail::SetLastError;

constexpr int kMaxDescriptor = FD_SETSIZE - 1 < 65534 ? FD_SETSIZE - 1 : 65534;

// The descriptor of a handle, or -1 (last error set) for one that cannot be.
int Descriptor(Socket s) {
  if (s > static_cast<Socket>(kMaxDescriptor)) {
    SetLastError(kErrNotSocket);
    return -1;
  }
  return static_cast<int>(s);
}

Socket Adopt(int fd) {
  if (fd < 0) {
    FailFromErrno();
    return kInvalidSocket;
  }
  if (fd > kMaxDescriptor) {
    ::close(fd);
    SetLastError(kErrTooManyFiles);
    return kInvalidSocket;
  }
  return static_cast<Socket>(fd);
}

// Connect errors that a non-blocking connect reports through its
// notification rather than from the call.
bool ReportedLater(int error) {
  return error == ECONNREFUSED || error == ENETUNREACH || error == EHOSTUNREACH || error == ETIMEDOUT;
}

sockaddr_in NativeAddress(const SockAddrIn& address) {
  sockaddr_in native{};
  native.sin_family = AF_INET;
  native.sin_port = address.port;
  native.sin_addr.s_addr = address.address;
  return native;
}

void FromNative(const sockaddr_in& native, SockAddrIn* address) {
  std::memset(address, 0, sizeof *address);
  address->family = kAfInet;
  address->port = native.sin_port;
  address->address = native.sin_addr.s_addr;
}

int PassFlags(int flags) {
  int native = 0;
  if (flags & kMsgOob) native |= MSG_OOB;
  if (flags & kMsgPeek) native |= MSG_PEEK;
  if (flags & kMsgDontRoute) native |= MSG_DONTROUTE;
  return native;
}

}  // namespace

int Startup(std::uint16_t) { return 0; }
int Cleanup() { return 0; }

Socket Create(int family, int type, int protocol) {
  if (family != kAfInet) {
    SetLastError(kErrAddrFamilyNoSupport);
    return kInvalidSocket;
  }
  int nativeType;
  if (type == kSockStream) {
    nativeType = SOCK_STREAM;
  } else if (type == kSockDgram) {
    nativeType = SOCK_DGRAM;
  } else {
    SetLastError(kErrSocketTypeNoSupport);
    return kInvalidSocket;
  }
  return Adopt(::socket(AF_INET, nativeType | SOCK_CLOEXEC, protocol));
}

int SetLinger(Socket s, std::uint16_t onOff, std::uint16_t seconds) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  linger value{onOff != 0, seconds};
  if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) return FailFromErrno();
  return 0;
}

int AsyncSelect(Socket s, platform::WindowHandle window, std::uint32_t message, long events) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  return detail::Register(fd, window, message, events);
}

std::uint16_t Htons(std::uint16_t value) { return htons(value); }

int Connect(Socket s, const SockAddrIn& address) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (address.family != kAfInet) {
    SetLastError(kErrAddrFamilyNoSupport);
    return kSocketError;
  }
  const sockaddr_in native = NativeAddress(address);
  const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native);
  const int error = rc == 0 ? 0 : errno;
  if (!detail::IsRegistered(fd)) return rc == 0 ? 0 : FailFromErrno();
  if (rc == 0) {
    detail::ConnectStarted(fd, 0);  // the notification still follows
    return 0;
  }
  if (error == EINPROGRESS) {
    detail::ConnectStarted(fd, 0);
    SetLastError(kErrWouldBlock);
    return kSocketError;
  }
  if (ReportedLater(error)) {
    detail::ConnectStarted(fd, detail::ErrorFromErrno(error));
    SetLastError(kErrWouldBlock);
    return kSocketError;
  }
  errno = error;
  return FailFromErrno();
}

int Send(Socket s, const void* data, int length, int flags) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (length < 0 || (!data && length > 0)) {
    SetLastError(length < 0 ? kErrInvalid : kErrFault);
    return kSocketError;
  }
  const ssize_t sent = ::send(fd, data, static_cast<size_t>(length), PassFlags(flags & ~kMsgPeek) | MSG_NOSIGNAL);
  if (sent >= 0) return static_cast<int>(sent);
  const int error = errno;
  if (error == EAGAIN || error == EWOULDBLOCK) detail::SendWouldBlock(fd);
  errno = error;
  return FailFromErrno();
}

int Recv(Socket s, void* data, int length, int flags) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (length < 0 || (!data && length > 0)) {
    SetLastError(length < 0 ? kErrInvalid : kErrFault);
    return kSocketError;
  }
  const ssize_t got = ::recv(fd, data, static_cast<size_t>(length), PassFlags(flags));
  const int error = errno;
  detail::RecvCalled(fd);
  if (got >= 0) return static_cast<int>(got);
  errno = error;
  return FailFromErrno();
}

int Close(Socket s) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  int type = 0;
  socklen_t size = sizeof type;
  if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size) != 0) return FailFromErrno();  // not a socket: left alone
  detail::Forget(fd);
  if (::close(fd) != 0 && errno != EINTR) return FailFromErrno();  // after EINTR the descriptor is gone as well
  return 0;
}

Socket Accept(Socket s, SockAddrIn* peer) {
  const int fd = Descriptor(s);
  if (fd < 0) return kInvalidSocket;
  sockaddr_in native{};
  socklen_t size = sizeof native;
  const int accepted = ::accept4(fd, reinterpret_cast<sockaddr*>(&native), &size, SOCK_CLOEXEC);
  const Socket result = Adopt(accepted);
  detail::AcceptCalled(fd, result == kInvalidSocket ? -1 : accepted);
  if (result != kInvalidSocket && peer) FromNative(native, peer);
  return result;
}

int Bind(Socket s, const SockAddrIn& address) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (address.family != kAfInet) {
    SetLastError(kErrAddrFamilyNoSupport);
    return kSocketError;
  }
  // Linux never lets two sockets listen on one port with this option; it
  // only lets a restarted server bind while old connections linger.
  const int on = 1;
  if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) return FailFromErrno();
  const sockaddr_in native = NativeAddress(address);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native) != 0) return FailFromErrno();
  return 0;
}

int Listen(Socket s, int backlog) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (::listen(fd, backlog) != 0) return FailFromErrno();
  detail::ListenStarted(fd);
  return 0;
}

int LocalAddress(Socket s, SockAddrIn* address) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  sockaddr_in native{};
  socklen_t size = sizeof native;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&native), &size) != 0) return FailFromErrno();
  FromNative(native, address);
  return 0;
}

int Shutdown(Socket s, int how) {
  const int fd = Descriptor(s);
  if (fd < 0) return kSocketError;
  if (how != kShutdownSend) {
    SetLastError(kErrInvalid);
    return kSocketError;
  }
  if (::shutdown(fd, SHUT_WR) != 0) return FailFromErrno();
  return 0;
}

}  // namespace sock
