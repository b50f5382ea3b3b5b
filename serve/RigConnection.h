#pragma once
// One client of the rig-control port: its command lines are answered in
// order as they arrive; after "q" the answer is sent and the connection
// closed.

#include "net/ConnectionProtocol.h"
#include "serve/RigSession.h"

class RigConnection : public ConnectionProtocol {
public:
  // rig must outlive the connection.
  explicit RigConnection(RigControl& rig) : session_(rig) {}

  void Received(ServerConnection& connection, std::string_view bytes) override;
  std::size_t BytesKept() const override { return session_.Pending(); }

private:
  RigSession session_;
};
