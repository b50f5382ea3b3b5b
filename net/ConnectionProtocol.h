#pragma once
// What a server does with one connection: the protocol side of a
// ServerConnection, one object per connection. Its calls run on the
// user-interface thread from the connection's notifications, never two at
// once for one connection, and none after the connection has closed or has
// been asked to close once its output is sent.

#include <cstddef>
#include <string_view>

class ServerConnection;

class ConnectionProtocol {
public:
  virtual ~ConnectionProtocol() = default;

  // The connection was accepted; a protocol with a deadline sets it here.
  virtual void Opened(ServerConnection&) {}
  // The next bytes the peer sent, in order; the protocol answers with the
  // connection's Send and ends it with CloseWhenSent or Close.
  virtual void Received(ServerConnection& connection, std::string_view bytes) = 0;
  // Bytes the protocol keeps between calls (a line or head not yet
  // complete), so that a server can tell what its clients cost.
  virtual std::size_t BytesKept() const { return 0; }
};
