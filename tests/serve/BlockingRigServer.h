#pragma once
// A test-only rig-control server: RigSession over blocking loopback sockets
// on a thread of its own, one connection at a time, so that a real client
// can talk to the protocol. The test's own thread must leave the panel alone
// while a client runs; Finished() tells when a connection is over.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "serve/RigControl.h"
#include "tests/support/LoopbackSocket.h"

class BlockingRigServer {
public:
  explicit BlockingRigServer(RigControl& rig);
  ~BlockingRigServer();
  BlockingRigServer(const BlockingRigServer&) = delete;
  BlockingRigServer& operator=(const BlockingRigServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Connections that have ended (the client quit or closed).
  int Finished() const { return finished_; }
  // Every byte received so far, from all connections.
  std::string Received() const;

private:
  void AcceptLoop();
  void Serve(int fd);

  RigControl& rig_;
  std::uint16_t port_ = 0;
  int listener_ = testsupport::loopback::kNoSocket;
  testsupport::loopback::StopChannel stop_;
  std::atomic<int> finished_{0};
  mutable std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};
