#pragma once
// A TCP server on the message loop: a Listener and the connections it
// accepts, each a ServerConnection running a protocol of its own, up to a
// ceiling. A connection accepted beyond the ceiling is closed at once, so
// that clients are told rather than left waiting in the listen queue.
// Finished connections are destroyed from a message of their own, never
// while any of their code runs.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>

#include "net/ConnectionProtocol.h"
#include "net/Listener.h"
#include "net/ServerConnection.h"
#include "platform/messages.h"

class TcpServer {
public:
  using ProtocolFactory = std::function<std::unique_ptr<ConnectionProtocol>()>;

  TcpServer(ProtocolFactory factory, std::size_t maxConnections, const ServerConnection::Limits& limits);
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Listens on ipv4:port (host byte order); 0 or the socket error number.
  int Listen(std::uint32_t ipv4, std::uint16_t port);
  std::uint16_t Port() const { return listener_.Port(); }

  // Connections open now, and what they hold in buffered bytes.
  std::size_t Connections() const;
  std::size_t BytesHeld() const;
  // Connections taken since Listen, those turned away at the ceiling too.
  std::size_t Accepted() const { return accepted_; }

  // Each once per change: the ceiling was reached (true) and connections
  // are turned away, or one is free again (false).
  std::function<void(bool full)> OnCeiling;
  // Accepting fails (the error number) or works again (0); see Listener.
  std::function<void(int error)> OnAcceptTrouble;
  // A protocol raised; its connection was closed.
  std::function<void(const char* what)> OnProtocolError;

private:
  static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  void Adopt(sock::Socket accepted);
  void Reap();
  void NoteCeiling(bool full);

  ProtocolFactory factory_;
  std::size_t maxConnections_;
  ServerConnection::Limits limits_;
  Listener listener_;
  std::list<std::unique_ptr<ServerConnection>> connections_;
  platform::WindowHandle window_ = 0;
  std::size_t accepted_ = 0;
  bool reapPosted_ = false;
  bool full_ = false;
};
