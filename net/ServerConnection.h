#pragma once
// One accepted connection of a server, driven by its socket's notifications
// on a hidden window of its own: what the peer sends goes to the protocol,
// what the protocol sends is queued and sent as the peer takes it. Nothing
// here blocks or pumps messages.
//
// Bounds, so that no peer can cost more than a little memory or hold the
// connection for ever against the server's will:
// - reading pauses while more than maxUnsent bytes wait to be sent (a peer
//   that sends commands and never reads the answers);
// - output that makes no progress for sendStallMs closes the connection;
// - after the last byte is sent, the connection ends its sending side and
//   waits up to lingerMs for the peer to close, discarding what it sends, so
//   that unread bytes do not turn the close into a reset that could destroy
//   the answer in the peer's buffers;
// - a protocol may set a deadline of its own (a request that must arrive
//   within a time).
//
// Re-entrancy: a notification that arrives while the connection is already
// handling one (a protocol call that pumps messages) is held and handled
// once that call returns, so the protocol is never entered twice; only a
// reset closes the socket at once, and the protocol's call then finds its
// sends dropped, its buffers intact. OnFinished tells the owner,
// once, when the connection is closed and none of its code runs any more;
// only then may it be destroyed, and not from inside OnFinished.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/ConnectionProtocol.h"
#include "platform/messages.h"
#include "platform/sockets.h"
#include "platform/window_timer.h"

class ServerConnection {
public:
  struct Limits {
    std::size_t readChunk = 4096;        // bytes taken per receive
    std::size_t maxUnsent = 64 * 1024;   // reading pauses above this
    std::uint32_t sendStallMs = 10000;   // unsent output that long without progress: closed
    std::uint32_t lingerMs = 2000;       // longest wait for the peer's close after the last byte
  };

  // Takes over the accepted socket and registers it for notifications.
  ServerConnection(sock::Socket socket, std::unique_ptr<ConnectionProtocol> protocol, const Limits& limits);
  ~ServerConnection();  // closes the socket if it is still open; OnFinished is not called
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;

  // Calls the protocol's Opened; the owner calls it once, after setting
  // OnFinished.
  void Open();

  // --- for the protocol ---
  // Queues the bytes and sends what the peer takes now.
  void Send(std::string_view bytes);
  // Reads no more; sends what is queued, then closes.
  void CloseWhenSent();
  // Closes at once; what is queued is dropped.
  void Close();
  // Closes the connection when ms have passed, unless cleared first.
  void SetDeadline(std::uint32_t ms);
  void ClearDeadline();

  bool Closed() const { return socket_ == sock::kInvalidSocket; }
  // Closed, and none of its code on the stack: it may be destroyed.
  bool Finished() const { return Closed() && !busy_; }
  std::size_t Unsent() const { return out_.size() - sent_; }
  // What the connection costs in buffered bytes: unsent output and what the
  // protocol keeps.
  std::size_t BytesHeld() const;

  std::function<void()> OnFinished;
  // An exception that escaped the protocol (the connection is closed).
  std::function<void(const char* what)> OnProtocolError;

private:
  enum Pending : unsigned { kOpen = 1, kRead = 2, kWrite = 4, kPeerClosed = 8, kReset = 16, kTick = 32 };
  using Clock = std::chrono::steady_clock;

  static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  // Every notification and tick comes through here, one at a time.
  void Handle(unsigned events);
  void Finish();
  void Read();
  void Flush();
  void SendingDone();
  void PeerEnded();
  void Discard();
  void CheckDeadlines();
  void ArmTimer();
  void RunProtocol(const std::function<void()>& call);

  sock::Socket socket_;
  std::unique_ptr<ConnectionProtocol> protocol_;
  Limits limits_;
  platform::WindowHandle window_ = 0;
  platform::WindowTimer timer_;

  std::vector<char> buffer_;  // one receive
  std::string out_;
  std::size_t sent_ = 0;  // bytes of out_ already sent
  bool reading_ = true;       // false once the connection is closing
  bool readWaiting_ = false;  // a read was put off while the output was over its cap
  bool peerEnded_ = false;    // the peer closed its side: no more notifications will come
  bool closeWhenSent_ = false;
  bool lingering_ = false;  // sending side ended, waiting for the peer's close
  bool busy_ = false;
  bool finishTold_ = false;
  unsigned pending_ = 0;
  std::optional<Clock::time_point> protocolDeadline_;
  std::optional<Clock::time_point> sendDeadline_;  // a stalled send, or the linger
};
