#include "tests/support/ScriptedServer.h"

#include <stdexcept>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {

Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), {}}; }
Step Drip(std::string bytes) { return {Step::Kind::Drip, std::move(bytes), {}}; }
Step Flood(std::string bytes) { return {Step::Kind::Flood, std::move(bytes), {}}; }
Step Trickle(std::string bytes, std::chrono::milliseconds gap) { return {Step::Kind::Trickle, std::move(bytes), gap}; }
Step Expect(std::string text) { return {Step::Kind::Expect, std::move(text), {}}; }
Step Drain() { return {Step::Kind::Drain, {}, {}}; }
Step Silent() { return {Step::Kind::Silent, {}, {}}; }
Step Reset() { return {Step::Kind::Reset, {}, {}}; }
Step Close() { return {Step::Kind::Close, {}, {}}; }

namespace {

constexpr int kDripGapMs = 2;
constexpr int kFloodGapMs = 1;

using namespace loopback;

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const long sent = SendSome(fd, data, size, false);
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
  stop_ = OpenStopChannel();
  listener_ = BoundSocket(port_);
  if (!Listen(listener_, 16)) throw std::runtime_error("listen failed");
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
  Signal(stop_);
  acceptor_.join();
  for (auto& connection : connections_) {
    if (connection->player.joinable()) connection->player.join();
    CloseSocket(connection->fd);
  }
  CloseSocket(listener_);
  CloseStopChannel(stop_);
}

bool ScriptedServer::Flood(int fd, const std::string& bytes) const {
  for (std::size_t done = 0; done < bytes.size();) {
    if (WaitReady(fd, true, stop_.readEnd, -1) != Ready::Fd) return false;
    const long sent = SendSome(fd, bytes.data() + done, bytes.size() - done, true);
    if (sent < 0) return false;  // the client has gone
    done += static_cast<std::size_t>(sent);
  }
  return !WaitStop(stop_.readEnd, kFloodGapMs);
}

bool ScriptedServer::WaitReadable(int fd) const { return WaitReady(fd, false, stop_.readEnd, -1) == Ready::Fd; }

void ScriptedServer::AcceptLoop() {
  while (WaitReadable(listener_)) {
    const int fd = AcceptConnection(listener_);
    if (fd == kNoSocket) continue;
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
    bool reset = false;
    const long count = ReceiveSome(fd, block, sizeof block, reset);
    if (reset) {
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
      case Step::Kind::Send: ok = SendAll(fd, step.bytes.data(), step.bytes.size()); break;
      case Step::Kind::Drip:
        for (char byte : step.bytes) {
          if (!(ok = SendAll(fd, &byte, 1))) break;
          if (WaitStop(stop_.readEnd, kDripGapMs)) ok = false;  // the server stops
          if (!ok) break;
        }
        break;
      case Step::Kind::Flood:
        while ((ok = Flood(fd, step.bytes))) {
        }
        break;
      case Step::Kind::Trickle:
        // Ends only when the client goes or the server stops.
        while (SendAll(fd, step.bytes.data(), step.bytes.size()) &&
               !WaitStop(stop_.readEnd, static_cast<int>(step.gap.count()))) {
        }
        ok = false;
        break;
      case Step::Kind::Expect:
        while (!contains(step.bytes) && (ok = readSome())) {
        }
        break;
      case Step::Kind::Drain:
        while (readSome()) {
        }
        break;
      case Step::Kind::Silent:
        WaitStop(stop_.readEnd, -1);
        ok = false;
        break;
      case Step::Kind::Reset:
        SetResetOnClose(fd);
        closed = true;
        break;
      case Step::Kind::Close: closed = true; break;
    }
    if (!ok || closed) break;
  }
  std::lock_guard lock(mutex_);
  CloseSocket(connection.fd);
  connection.fd = kNoSocket;
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
  listener_ = BoundSocket(port_);
  if (!Listen(listener_, 0)) throw std::runtime_error("listen failed");
  filler_ = ConnectLoopback(port_);
  if (filler_ == kNoSocket) throw std::runtime_error("cannot fill the accept queue");
}

UnansweredPort::~UnansweredPort() {
  CloseSocket(filler_);
  CloseSocket(listener_);
}

RefusingPort::RefusingPort() { fd_ = BoundSocket(port_); }
RefusingPort::~RefusingPort() { CloseSocket(fd_); }

}  // namespace testsupport
