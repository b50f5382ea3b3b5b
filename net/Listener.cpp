#include "net/Listener.h"

#include <cstring>

#include "net/SessionWindow.h"

namespace {

constexpr char kWindowClass[] = "RavolinListener";
constexpr char kRetryClass[] = "RavolinListenerRetry";
constexpr std::uint16_t kSocketsVersion = 0x0101;
constexpr std::uint32_t kRetryMs = 1000;
// Connections already gone skipped in one notification; the next one comes
// with the next notification, so that other sockets get their turn.
constexpr int kMostGoneInARow = 16;

// The address as the socket calls take it: its bytes in network order.
std::uint32_t NetworkOrder(std::uint32_t hostOrder) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(hostOrder >> 24), static_cast<unsigned char>(hostOrder >> 16),
                                  static_cast<unsigned char>(hostOrder >> 8), static_cast<unsigned char>(hostOrder)};
  std::uint32_t result = 0;
  std::memcpy(&result, bytes, sizeof result);
  return result;
}

// Errors of the one connection being taken, which its peer ended while it
// waited in the listen queue (Winsock tells it as "not connected"), or a
// network error pending on it: the next connection is taken instead.
bool ConnectionGone(int error) {
  switch (error) {
    case sock::kErrConnAborted:
    case sock::kErrConnReset:
    case sock::kErrNetReset:
    case sock::kErrNotConn:
    case sock::kErrTimedOut:
    case sock::kErrInterrupted:
    case sock::kErrNetDown:
    case sock::kErrNetUnreach:
    case sock::kErrHostDown:
    case sock::kErrHostUnreach: return true;
    default: return false;
  }
}

}  // namespace

Listener::Listener() : retry_(kRetryClass) {
  window_ = platform::AllocateHiddenWindow(kWindowClass, Procedure, this);
  retry_.OnTick = [this] {
    retry_.Stop();
    AcceptOne();
  };
}

Listener::~Listener() {
  Close();
  if (window_ != 0) platform::DestroyHiddenWindow(window_);
}

int Listener::Open(std::uint32_t ipv4, std::uint16_t port, int backlog) {
  Close();
  if (window_ == 0) return sock::kErrNoBufs;
  if (sock::Startup(kSocketsVersion) != 0) return sock::kErrNotInitialised;
  startedSockets_ = true;
  socket_ = sock::Create(sock::kAfInet, sock::kSockStream, sock::kIpProtoTcp);
  if (socket_ == sock::kInvalidSocket) {
    const int error = sock::LastError();
    Close();
    return error;
  }
  sock::SockAddrIn address{};
  address.family = sock::kAfInet;
  address.port = sock::Htons(port);
  address.address = NetworkOrder(ipv4);
  sock::SockAddrIn bound{};
  if (sock::Bind(socket_, address) != 0 || sock::Listen(socket_, backlog) != 0 ||
      sock::AsyncSelect(socket_, window_, kSocketEventMessage, sock::kFdAccept) != 0 ||
      sock::LocalAddress(socket_, &bound) != 0) {
    const int error = sock::LastError();
    Close();
    return error;
  }
  port_ = sock::Htons(bound.port);  // the swap is its own inverse
  return 0;
}

void Listener::Close() {
  retry_.Stop();
  if (socket_ != sock::kInvalidSocket) sock::Close(socket_);
  socket_ = sock::kInvalidSocket;
  port_ = 0;
  if (startedSockets_) sock::Cleanup();
  startedSockets_ = false;
}

std::intptr_t Listener::Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  auto* listener = static_cast<Listener*>(platform::GetWindowOwner(window));
  if (listener == nullptr || message != kSocketEventMessage)
    return platform::DefaultWindowProc(window, message, wParam, lParam);
  // While a retry is due the notification is let go: not accepting leaves
  // it unarmed, so a failing condition does not keep the loop busy.
  if (wParam == listener->socket_ && sock::SelectEvent(lParam) == sock::kFdAccept && !listener->retry_.Running())
    listener->AcceptOne();
  return 0;
}

void Listener::AcceptOne() {
  for (int gone = 0; IsOpen() && gone < kMostGoneInARow; ++gone) {
    sock::SockAddrIn peer{};
    const sock::Socket accepted = sock::Accept(socket_, &peer);
    if (accepted != sock::kInvalidSocket) {
      Trouble(0);
      if (OnAccept) {
        OnAccept(accepted);
      } else {
        sock::Close(accepted);
      }
      return;
    }
    const int error = sock::LastError();
    if (error == sock::kErrWouldBlock) return;  // the connection went away before it was taken
    if (ConnectionGone(error)) continue;
    retry_.Start(kRetryMs);
    Trouble(error);
    return;
  }
}

void Listener::Trouble(int error) {
  const bool changed = (error == 0) != (trouble_ == 0);
  trouble_ = error;
  if (changed && OnAcceptTrouble) OnAcceptTrouble(error);
}
