#include "tests/support/ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace testsupport {

Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes)}; }
Step Drip(std::string bytes) { return {Step::Kind::Drip, std::move(bytes)}; }
Step Flood(std::string bytes) { return {Step::Kind::Flood, std::move(bytes)}; }
Step Expect(std::string text) { return {Step::Kind::Expect, std::move(text)}; }
Step Drain() { return {Step::Kind::Drain, {}}; }
Step Silent() { return {Step::Kind::Silent, {}}; }
Step Reset() { return {Step::Kind::Reset, {}}; }
Step Close() { return {Step::Kind::Close, {}}; }

namespace {

constexpr int kDripGapMs = 2;
constexpr int kFloodGapMs = 1;

int BoundLoopbackSocket(std::uint16_t& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

}  // namespace

struct ScriptedServer::Connection {
  int fd = -1;
  std::string received;
  bool finished = false;
  bool reset = false;
  std::thread player;
};

ScriptedServer::ScriptedServer(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
  if (scripts_.empty()) scripts_.push_back({});
  if (::pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  listener_ = BoundLoopbackSocket(port_);
  if (::listen(listener_, 16) != 0) throw std::runtime_error("listen failed");
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
  char stop = 1;
  (void)!::write(stopPipe_[1], &stop, 1);
  acceptor_.join();
  for (auto& connection : connections_) {
    if (connection->player.joinable()) connection->player.join();
    if (connection->fd >= 0) ::close(connection->fd);
  }
  ::close(listener_);
  ::close(stopPipe_[0]);
  ::close(stopPipe_[1]);
}

bool ScriptedServer::Flood(int fd, const std::string& bytes) const {
  for (std::size_t done = 0; done < bytes.size();) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {stopPipe_[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (fds[1].revents & POLLIN)) return false;
    const ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (sent <= 0) return false;  // the client has gone
    done += static_cast<std::size_t>(sent);
  }
  pollfd stop = {stopPipe_[0], POLLIN, 0};
  return ::poll(&stop, 1, kFloodGapMs) == 0;
}

bool ScriptedServer::WaitReadable(int fd) const {
  pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
  for (;;) {
    int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (fds[1].revents & POLLIN)) return false;
    if (fds[0].revents) return true;
  }
}

void ScriptedServer::AcceptLoop() {
  while (WaitReadable(listener_)) {
    int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard lock(mutex_);
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    const Script& script = scripts_[std::min(connections_.size(), scripts_.size() - 1)];
    Connection& ref = *connection;
    connections_.push_back(std::move(connection));
    ref.player = std::thread([this, &ref, &script] { Play(ref, script); });
    changed_.notify_all();
  }
}

void ScriptedServer::Play(Connection& connection, const Script& script) {
  const int fd = connection.fd;
  // Reads one block into the record; false at the end of the data or on stop.
  auto readSome = [&] {
    if (!WaitReadable(fd)) return false;
    char block[4096];
    ssize_t count = ::recv(fd, block, sizeof block, 0);
    if (count < 0 && errno == ECONNRESET) {
      std::lock_guard lock(mutex_);
      connection.reset = true;
    }
    if (count <= 0) return false;
    std::lock_guard lock(mutex_);
    connection.received.append(block, static_cast<std::size_t>(count));
    changed_.notify_all();
    return true;
  };
  auto contains = [&](const std::string& text) {
    std::lock_guard lock(mutex_);
    return connection.received.find(text) != std::string::npos;
  };

  bool closed = false;
  for (const Step& step : script) {
    bool ok = true;
    switch (step.kind) {
      case Step::Kind::Send:
        ok = SendAll(fd, step.bytes.data(), step.bytes.size());
        break;
      case Step::Kind::Drip:
        for (char byte : step.bytes) {
          if (!(ok = SendAll(fd, &byte, 1))) break;
          pollfd stop = {stopPipe_[0], POLLIN, 0};
          if (::poll(&stop, 1, kDripGapMs) > 0) ok = false;  // the server stops
          if (!ok) break;
        }
        break;
      case Step::Kind::Flood:
        while ((ok = Flood(fd, step.bytes))) {
        }
        break;
      case Step::Kind::Expect:
        while (!contains(step.bytes) && (ok = readSome())) {
        }
        break;
      case Step::Kind::Drain:
        while (readSome()) {
        }
        break;
      case Step::Kind::Silent: {
        pollfd stop = {stopPipe_[0], POLLIN, 0};
        while (::poll(&stop, 1, -1) < 0 && errno == EINTR) {
        }
        ok = false;
        break;
      }
      case Step::Kind::Reset: {
        linger reset = {1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        closed = true;
        break;
      }
      case Step::Kind::Close:
        closed = true;
        break;
    }
    if (!ok || closed) break;
  }
  std::lock_guard lock(mutex_);
  ::close(connection.fd);
  connection.fd = -1;
  connection.finished = true;
  changed_.notify_all();
}

int ScriptedServer::Connections() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(connections_.size());
}

std::string ScriptedServer::Received(int connection) const {
  std::lock_guard lock(mutex_);
  if (connection < 0 || connection >= static_cast<int>(connections_.size())) return {};
  return connections_[static_cast<std::size_t>(connection)]->received;
}

bool ScriptedServer::WaitForConnections(int n, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return static_cast<int>(connections_.size()) >= n; });
}

bool ScriptedServer::WaitForFinished(int connection, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] {
    return connection < static_cast<int>(connections_.size()) &&
           connections_[static_cast<std::size_t>(connection)]->finished;
  });
}

bool ScriptedServer::WaitForReceived(int connection, const std::string& text, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] {
    return connection < static_cast<int>(connections_.size()) &&
           connections_[static_cast<std::size_t>(connection)]->received.find(text) != std::string::npos;
  });
}

bool ScriptedServer::WasReset(int connection) const {
  std::lock_guard lock(mutex_);
  return connection < static_cast<int>(connections_.size()) &&
         connections_[static_cast<std::size_t>(connection)]->reset;
}

UnansweredPort::UnansweredPort() {
  listener_ = BoundLoopbackSocket(port_);
  if (::listen(listener_, 0) != 0) throw std::runtime_error("listen failed");
  filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port_);
  if (filler_ < 0 || ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    throw std::runtime_error("cannot fill the accept queue");
}

UnansweredPort::~UnansweredPort() {
  ::close(filler_);
  ::close(listener_);
}

RefusingPort::RefusingPort() { fd_ = BoundLoopbackSocket(port_); }
RefusingPort::~RefusingPort() { ::close(fd_); }

}  // namespace testsupport
