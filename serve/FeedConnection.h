#pragma once
// One client of the state feed: its request head is collected, answered
// once with the panel's state (or an error status) and the connection is
// closed. A head that is not complete within kHeadDeadlineMs of the accept,
// or that passes RequestHead's size cap, is dropped without an answer.

#include <cstdint>

#include "net/ConnectionProtocol.h"
#include "serve/PanelControl.h"
#include "serve/RequestHead.h"

class FeedConnection : public ConnectionProtocol {
public:
  static constexpr std::uint32_t kHeadDeadlineMs = 5000;

  // panel must outlive the connection.
  explicit FeedConnection(const PanelControl& panel) : panel_(panel) {}

  void Opened(ServerConnection& connection) override;
  void Received(ServerConnection& connection, std::string_view bytes) override;
  std::size_t BytesKept() const override { return head_.Text().size(); }

private:
  const PanelControl& panel_;
  RequestHead head_;
};
