#pragma once
// A listening TCP socket on a hidden window of its own: each accept
// notification accepts one connection and hands the new socket over. After
// a failed accept (no descriptors left, say) accepting pauses for a second,
// rather than failing again at once for as long as the condition lasts; a
// connection its peer ended while it waited in the listen queue is skipped,
// not taken for such a failure.

#include <cstdint>
#include <functional>

#include "platform/messages.h"
#include "platform/sockets.h"
#include "platform/window_timer.h"

class Listener {
public:
  Listener();
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  // Listens on ipv4:port (host byte order; address 0 is every interface,
  // port 0 one the system picks). 0, or the socket error number; nothing is
  // left open on failure.
  int Open(std::uint32_t ipv4, std::uint16_t port, int backlog);
  void Close();
  bool IsOpen() const { return socket_ != sock::kInvalidSocket; }
  // The port it listens on (host byte order), 0 when closed.
  std::uint16_t Port() const { return port_; }

  // A connection was accepted; the callee owns the socket from now on.
  std::function<void(sock::Socket accepted)> OnAccept;
  // Accepting failed with this error number (told once, however often it
  // fails again, a second apart), or works again (0).
  std::function<void(int error)> OnAcceptTrouble;

private:
  static std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  void AcceptOne();
  void Trouble(int error);

  sock::Socket socket_ = sock::kInvalidSocket;
  std::uint16_t port_ = 0;
  platform::WindowHandle window_ = 0;
  platform::WindowTimer retry_;
  bool startedSockets_ = false;
  int trouble_ = 0;  // the error of the last accept, 0 when it worked
};
