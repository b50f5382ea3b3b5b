#pragma once
// A TCP server on 127.0.0.1 (port chosen by the system) that plays a script
// on each connection it accepts and records what the client sent. Used to
// give a client exact bytes and exact misbehaviour.
//
//   ScriptedServer server({{Expect("GET"), Send("HTTP/1.0 200 OK\r\n"), Close()}});
//   client.Port = server.Port();
//   ...
//   EXPECT_EQ(server.Received(0), "GET / HTTP/1.0\r\n\r\n");

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {

struct Step {
  enum class Kind { Send, Drip, Flood, Trickle, Expect, Drain, Silent, Reset, Close };
  Kind kind;
  std::string bytes;
  std::chrono::milliseconds gap{0};  // Trickle: between two sends
};

// Sends the bytes at once.
Step Send(std::string bytes);
// Sends the bytes one at a time, each in its own segment, a moment apart.
Step Drip(std::string bytes);
// Sends the bytes again and again, a moment apart, until the client goes
// away or the server stops: a peer whose data never ends. Never blocks on a
// client that stops reading.
Step Flood(std::string bytes);
// Sends the bytes again and again, gap apart, until the client goes away or
// the server stops: a peer that keeps the client waiting for ever, a little
// at a time (a header line every 2 s, a body byte every second).
Step Trickle(std::string bytes, std::chrono::milliseconds gap);
// Reads (and records) until everything received so far contains text.
Step Expect(std::string text);
// Reads (and records) until the client closes.
Step Drain();
// Neither reads nor sends; holds the connection open until the server stops.
Step Silent();
// Closes with a reset (linger on, time 0).
Step Reset();
// Closes gracefully. A script that ends without Reset or Close closes
// gracefully as well.
Step Close();

using Script = std::vector<Step>;

class ScriptedServer {
public:
  // The n-th connection plays scripts[n]; connections beyond the list play
  // the last script.
  explicit ScriptedServer(std::vector<Script> scripts);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  std::uint16_t Port() const { return port_; }
  int Connections() const;
  // Bytes received on connection n so far.
  std::string Received(int connection = 0) const;
  // Waits until n connections were accepted / connection n has finished its
  // script and closed.
  bool WaitForConnections(int n, std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
  bool WaitForFinished(int connection, std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
  bool WaitForReceived(int connection, const std::string& text,
                       std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
  // True when the client ended connection n with a reset rather than a
  // graceful close (seen by Expect or Drain).
  bool WasReset(int connection) const;

private:
  struct Connection;
  void AcceptLoop();
  void Play(Connection& connection, const Script& script);
  bool WaitReadable(int fd) const;  // false when the server stops
  // Sends bytes whole; false when the client has gone or the server stops.
  bool Flood(int fd, const std::string& bytes) const;

  std::vector<Script> scripts_;
  int listener_ = -1;
  loopback::StopChannel stop_;
  std::uint16_t port_ = 0;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::thread acceptor_;
};

// A loopback port where nothing listens: connecting to it is refused. The
// port stays reserved for the object's lifetime.
class RefusingPort {
public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  std::uint16_t Port() const { return port_; }

private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

// A loopback port that listens but never completes another connection: its
// one place in the accept queue is taken and never accepted, so further
// connection requests go unanswered and a connect stays in progress.
class UnansweredPort {
public:
  UnansweredPort();
  ~UnansweredPort();
  UnansweredPort(const UnansweredPort&) = delete;
  UnansweredPort& operator=(const UnansweredPort&) = delete;
  std::uint16_t Port() const { return port_; }

private:
  int listener_ = -1;
  int filler_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace testsupport
