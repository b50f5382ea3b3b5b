#include "serve/PanelServers.h"

#include "net/SockErrors.h"
#include "platform/diagnostics.h"
#include "serve/FeedConnection.h"
#include "serve/RigConnection.h"

namespace {

// A feed client sends one small request and reads one small answer.
constexpr ServerConnection::Limits kFeedLimits{
    .readChunk = 4096, .maxUnsent = 64 * 1024, .sendStallMs = 5000, .lingerMs = 2000};
// A rig-control client may stay for hours. Reads are small, so that the
// answers to one read (at most some thirty bytes out for a byte in) add
// little to the unsent output over its cap.
constexpr ServerConnection::Limits kRigLimits{
    .readChunk = 1024, .maxUnsent = 64 * 1024, .sendStallMs = 10000, .lingerMs = 2000};

void Say(const std::string& line) { platform::WriteDiagnostic("ravolin: " + line); }

}  // namespace

PanelServers::PanelServers(TForm1& form, const PanelView& view, const std::string& configFile)
    : panel_(form, view), rigControl_(panel_) {
  const ServeConfig config = ReadServeConfig(configFile);
  for (const std::string& problem : config.problems) Say(problem);
  if (config.stateFeed) {
    feed_ = Start("state feed", *config.stateFeed,
                  [this] { return std::make_unique<FeedConnection>(panel_); }, kFeedLimits);
  }
  if (config.rigControl) {
    rig_ = Start("rig-control port", *config.rigControl,
                 [this] { return std::make_unique<RigConnection>(rigControl_); }, kRigLimits);
  }
}

PanelServers::~PanelServers() = default;

std::unique_ptr<TcpServer> PanelServers::Start(const char* name, const ListenAddress& address,
                                               TcpServer::ProtocolFactory factory,
                                               const ServerConnection::Limits& limits) {
  auto server = std::make_unique<TcpServer>(std::move(factory), kMaxClients, limits);
  const std::string where = address.Text();
  if (const int error = server->Listen(address.ipv4, address.port); error != 0) {
    Say(std::string("the ") + name + " can't listen on " + where + " (" + FormatSocketError(error) +
        "); it stays off");
    return nullptr;
  }
  Say(std::string(name) + " listening on " + where +
      (address.ipv4 == 0 ? " (every interface: anyone who reaches this machine can use it)" : ""));
  const std::string prefix = std::string(name) + ": ";
  server->OnCeiling = [prefix](bool full) {
    Say(prefix + (full ? std::to_string(kMaxClients) + " clients connected; turning more away"
                       : "taking clients again"));
  };
  server->OnAcceptTrouble = [prefix](int error) {
    Say(prefix + (error != 0 ? "can't accept clients (" + FormatSocketError(error) + "); trying again every second"
                             : "accepting clients again"));
  };
  server->OnProtocolError = [prefix](const char* what) { Say(prefix + "a client's connection failed: " + what); };
  return server;
}
