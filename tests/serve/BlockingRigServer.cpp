#include "tests/serve/BlockingRigServer.h"

#include <stdexcept>

#include "serve/RigSession.h"

using namespace testsupport::loopback;

BlockingRigServer::BlockingRigServer(RigControl& rig) : rig_(rig) {
  stop_ = OpenStopChannel();
  listener_ = BoundSocket(port_);
  if (!Listen(listener_, 4)) throw std::runtime_error("listen failed");
  thread_ = std::thread([this] { AcceptLoop(); });
}

BlockingRigServer::~BlockingRigServer() {
  Signal(stop_);
  thread_.join();
  CloseSocket(listener_);
  CloseStopChannel(stop_);
}

std::string BlockingRigServer::Received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

void BlockingRigServer::AcceptLoop() {
  while (WaitReady(listener_, false, stop_.readEnd, -1) == Ready::Fd) {
    const int fd = AcceptConnection(listener_);
    if (fd == kNoSocket) continue;
    Serve(fd);
    CloseSocket(fd);
    ++finished_;
  }
}

void BlockingRigServer::Serve(int fd) {
  RigSession session(rig_);
  char buffer[4096];
  while (!session.Closing() && WaitReady(fd, false, stop_.readEnd, -1) == Ready::Fd) {
    bool reset = false;
    const long count = ReceiveSome(fd, buffer, sizeof buffer, reset);
    if (count <= 0) return;
    const std::string_view bytes(buffer, static_cast<std::size_t>(count));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.append(bytes);
    }
    const std::string answer = session.Receive(bytes);
    for (std::size_t sent = 0; sent < answer.size();) {
      const long n = SendSome(fd, answer.data() + sent, answer.size() - sent, false);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }
}
