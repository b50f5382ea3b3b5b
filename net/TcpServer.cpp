#include "net/TcpServer.h"

#include <algorithm>

namespace {

constexpr char kWindowClass[] = "RavolinTcpServer";
constexpr std::uint32_t kReapMessage = platform::kWmUser + 103;
// Room for a crowd that connects at once: a connection that finds the
// queue full is not refused but retried by its system a second or more
// later, which a client sees as a stall.
constexpr int kBacklog = 128;

}  // namespace

TcpServer::TcpServer(ProtocolFactory factory, std::size_t maxConnections, const ServerConnection::Limits& limits)
    : factory_(std::move(factory)), maxConnections_(maxConnections), limits_(limits) {
  window_ = platform::AllocateHiddenWindow(kWindowClass, Procedure, this);
  listener_.OnAccept = [this](sock::Socket accepted) { Adopt(accepted); };
  listener_.OnAcceptTrouble = [this](int error) {
    if (OnAcceptTrouble) OnAcceptTrouble(error);
  };
}

TcpServer::~TcpServer() {
  listener_.Close();
  connections_.clear();  // each closes its socket; none is told it finished
  if (window_ != 0) platform::DestroyHiddenWindow(window_);
}

int TcpServer::Listen(std::uint32_t ipv4, std::uint16_t port) { return listener_.Open(ipv4, port, kBacklog); }

std::size_t TcpServer::Connections() const {
  return static_cast<std::size_t>(std::count_if(connections_.begin(), connections_.end(),
                                                [](const auto& connection) { return !connection->Closed(); }));
}

std::size_t TcpServer::BytesHeld() const {
  std::size_t held = 0;
  for (const auto& connection : connections_) held += connection->BytesHeld();
  return held;
}

void TcpServer::Adopt(sock::Socket accepted) {
  ++accepted_;
  if (Connections() >= maxConnections_) {
    sock::Close(accepted);
    NoteCeiling(true);
    return;
  }
  NoteCeiling(false);
  connections_.push_back(std::make_unique<ServerConnection>(accepted, factory_(), limits_));
  ServerConnection& connection = *connections_.back();
  connection.OnFinished = [this] {
    if (reapPosted_) return;
    reapPosted_ = platform::PostWindowMessage(window_, kReapMessage, 0, 0);
  };
  connection.OnProtocolError = [this](const char* what) {
    if (OnProtocolError) OnProtocolError(what);
  };
  connection.Open();
}

void TcpServer::Reap() {
  reapPosted_ = false;
  connections_.remove_if([](const auto& connection) { return connection->Finished(); });
}

// Told only at a change, so a crowd of clients makes one line, not one per
// refusal; the ceiling counts as left when the next connection fits.
void TcpServer::NoteCeiling(bool full) {
  if (full == full_) return;
  full_ = full;
  if (OnCeiling) OnCeiling(full);
}

std::intptr_t TcpServer::Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  auto* server = static_cast<TcpServer*>(platform::GetWindowOwner(window));
  if (server == nullptr || message != kReapMessage) return platform::DefaultWindowProc(window, message, wParam, lParam);
  server->Reap();
  return 0;
}
