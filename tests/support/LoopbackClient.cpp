#include "tests/support/LoopbackClient.h"

#include <chrono>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {

namespace lb = loopback;

std::uint16_t FreeLoopbackPort() {
  std::uint16_t port = 0;
  lb::CloseSocket(lb::BoundSocket(port));
  return port;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const long sent = lb::SendSome(fd, bytes.data(), bytes.size(), false);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

ClientReply ReadUntil(int fd, const std::function<bool(const std::string&)>& enough, int timeoutMs) {
  ClientReply reply;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  // Never signalled, shared by every client: only something besides fd to
  // poll.
  static const lb::StopChannel never = lb::OpenStopChannel();
  while (!enough(reply.bytes)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || lb::WaitReady(fd, false, never.readEnd, static_cast<int>(left.count())) != lb::Ready::Fd)
      break;
    char buffer[4096];
    const long got = lb::ReceiveSome(fd, buffer, sizeof buffer, reply.reset);
    if (got <= 0) {
      reply.closed = got == 0;
      break;
    }
    reply.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return reply;
}

ClientReply ReadToEnd(int fd, int timeoutMs) {
  return ReadUntil(fd, [](const std::string&) { return false; }, timeoutMs);
}

ClientReply Exchange(std::uint16_t port, std::string_view request, int timeoutMs) {
  const int fd = lb::ConnectLoopback(port);
  if (fd == lb::kNoSocket) return {};
  ClientReply reply;
  if (SendAll(fd, request)) reply = ReadToEnd(fd, timeoutMs);
  lb::CloseSocket(fd);
  return reply;
}

}  // namespace testsupport
