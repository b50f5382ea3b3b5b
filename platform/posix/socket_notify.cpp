// Readiness is level-triggered, so each watch is held only while the
// notification it would produce is allowed: read until one was posted (re-armed
// by the next Recv, a peek included, like the classic library), accept until
// the next Accept, close once, connect until the connect completes.

#include "platform/posix/socket_notify.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/socket.h>

#include <cerrno>
#include <map>
#include <memory>

#include "base/Assert.h"

#include "platform/loop_services.h"
#include "platform/posix/socket_errors.h"
#include "platform/sockets.h"

namespace sock::detail {
namespace {

enum class Phase { Idle, Connecting, Connected, Listening };

struct Notifier {
  platform::WindowHandle window = 0;
  std::uint32_t message = 0;
  long events = 0;
  Phase phase = Phase::Idle;
  bool readArmed = true;
  bool closeSent = false;
  bool writeWanted = false;
  bool watchingRead = false;
  bool watchingWrite = false;
  std::shared_ptr<bool> open = std::make_shared<bool>(true);
};

std::map<int, Notifier>& Notifiers() {
  RAVOLIN_ASSERT(platform::OnMessageThread(), "socket notifications belong to the user-interface thread");
  static auto* notifiers = new std::map<int, Notifier>;
  return *notifiers;
}

Notifier* Find(int fd) {
  auto found = Notifiers().find(fd);
  return found == Notifiers().end() ? nullptr : &found->second;
}

void Post(int fd, const Notifier& n, long event, int error) {
  if (!(n.events & event)) return;
  platform::PostWindowMessageFromLoop(
      n.window, n.message, static_cast<std::uintptr_t>(fd),
      MakeSelectLParam(static_cast<std::uint16_t>(event), static_cast<std::uint16_t>(error)),
      [open = n.open] { return *open; });
}

bool ReadyNow(int fd, short what) {
  pollfd p{fd, what, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & (what | POLLERR | POLLHUP));
}

Phase CurrentPhase(int fd) {
  int listening = 0;
  socklen_t size = sizeof listening;
  if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) == 0 && listening) return Phase::Listening;
  sockaddr_storage peer{};
  size = sizeof peer;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) == 0) return Phase::Connected;
  return Phase::Idle;
}

void OnReadable(int fd);
void OnWritable(int fd);

void Update(int fd, Notifier& n) {
  bool wantRead = false;
  if (n.phase == Phase::Connected)
    wantRead = n.readArmed && !n.closeSent && (n.events & (kFdRead | kFdClose));
  else if (n.phase == Phase::Listening)
    wantRead = n.readArmed && (n.events & kFdAccept);
  const bool wantWrite = n.phase == Phase::Connecting || (n.phase == Phase::Connected && n.writeWanted);

  if (wantRead != n.watchingRead) {
    if (wantRead)
      platform::WatchFdReadable(fd, OnReadable);
    else
      platform::UnwatchFdReadable(fd);
    n.watchingRead = wantRead;
  }
  if (wantWrite != n.watchingWrite) {
    if (wantWrite)
      platform::WatchFdWritable(fd, OnWritable);
    else
      platform::UnwatchFdWritable(fd);
    n.watchingWrite = wantWrite;
  }
}

void OnReadable(int fd) {
  Notifier* n = Find(fd);
  if (!n) return;
  if (n->phase == Phase::Connected) {
    // The peek alone tells stale readiness from an earlier select (would
    // block) from data, the peer's close and an error: one call per block
    // of a transfer rather than a poll and a peek.
    char byte;
    const ssize_t got = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (got > 0) {
      Post(fd, *n, kFdRead, 0);
      n->readArmed = false;
    } else if (got == 0) {
      Post(fd, *n, kFdClose, 0);
      n->closeSent = true;
    } else {
      Post(fd, *n, kFdClose, ErrorFromErrno(errno));
      n->closeSent = true;
    }
  } else {
    if (!ReadyNow(fd, POLLIN)) return;  // stale readiness from an earlier select
    if (n->phase == Phase::Listening) {
      Post(fd, *n, kFdAccept, 0);
      n->readArmed = false;
    }
  }
  Update(fd, *n);
}

void OnWritable(int fd) {
  Notifier* n = Find(fd);
  if (!n || !ReadyNow(fd, POLLOUT)) return;
  if (n->phase == Phase::Connecting) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    n->phase = error == 0 ? Phase::Connected : Phase::Idle;
    Post(fd, *n, kFdConnect, ErrorFromErrno(error));
    if (error == 0) Post(fd, *n, kFdWrite, 0);
  } else if (n->phase == Phase::Connected && n->writeWanted) {
    n->writeWanted = false;
    Post(fd, *n, kFdWrite, 0);
  }
  Update(fd, *n);
}

}  // namespace

int Register(int fd, platform::WindowHandle window, std::uint32_t message, long events) {
  int type = 0;
  socklen_t size = sizeof type;
  if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size) != 0) return FailFromErrno();
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return FailFromErrno();
  if (events == 0 || window == 0) {
    Forget(fd);
    return 0;
  }
  if (fd >= FD_SETSIZE) {
    SetLastError(kErrTooManyFiles);
    return kSocketError;
  }
  auto [it, fresh] = Notifiers().try_emplace(fd);
  Notifier& n = it->second;
  if (fresh) n.phase = CurrentPhase(fd);
  n.window = window;
  n.message = message;
  n.events = events;
  n.readArmed = true;  // conditions that hold now are reported again
  Update(fd, n);
  return 0;
}

bool IsRegistered(int fd) { return Find(fd) != nullptr; }

void ConnectStarted(int fd, int error) {
  Notifier* n = Find(fd);
  if (!n) return;
  if (error == 0) {
    n->phase = Phase::Connecting;
    n->readArmed = true;
    n->closeSent = false;
  } else {
    Post(fd, *n, kFdConnect, error);
  }
  Update(fd, *n);
}

void RecvCalled(int fd) {
  Notifier* n = Find(fd);
  if (!n || n->readArmed) return;
  n->readArmed = true;
  Update(fd, *n);
}

void SendWouldBlock(int fd) {
  Notifier* n = Find(fd);
  if (!n || n->writeWanted || !(n->events & kFdWrite)) return;
  n->writeWanted = true;
  Update(fd, *n);
}

void ListenStarted(int fd) {
  Notifier* n = Find(fd);
  if (!n) return;
  n->phase = Phase::Listening;
  n->readArmed = true;
  Update(fd, *n);
}

void AcceptCalled(int listener, int accepted) {
  Notifier* n = Find(listener);
  if (!n) return;
  if (!n->readArmed) {
    n->readArmed = true;
    Update(listener, *n);
  }
  if (accepted < 0) return;
  // Accepted means connected, even when the peer has reset the connection
  // since (in the listen queue, say), which the peer's address no longer
  // tells: its reset is then what the first read reports.
  Notifiers()[accepted].phase = Phase::Connected;
  Register(accepted, n->window, n->message, n->events);
}

void Forget(int fd) {
  auto found = Notifiers().find(fd);
  if (found == Notifiers().end()) return;
  if (found->second.watchingRead) platform::UnwatchFdReadable(fd);
  if (found->second.watchingWrite) platform::UnwatchFdWritable(fd);
  *found->second.open = false;
  Notifiers().erase(found);
}

}  // namespace sock::detail
