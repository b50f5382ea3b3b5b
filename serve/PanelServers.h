#pragma once
// The panel's two servers as the program runs them. serve.ini is read once;
// each server it names listens on its address, on the message loop, for as
// long as this object lives. What goes wrong (a line of serve.ini, a port
// that can't be bound, a crowd at the ceiling, accepts that fail) is told in
// the diagnostics, one line per change, and the panel goes on without that server.

#include <cstdint>
#include <memory>
#include <string>

#include "net/TcpServer.h"
#include "serve/FormPanelControl.h"
#include "serve/RigControl.h"
#include "serve/ServeConfig.h"

class PanelServers {
public:
  // Clients each server serves at once; more are turned away.
  static constexpr std::size_t kMaxClients = 128;

  // form and view must outlive the servers.
  PanelServers(TForm1& form, const PanelView& view, const std::string& configFile = "serve.ini");
  ~PanelServers();
  PanelServers(const PanelServers&) = delete;
  PanelServers& operator=(const PanelServers&) = delete;

  // The server, or nullptr when it is off.
  TcpServer* Feed() const { return feed_.get(); }
  TcpServer* Rig() const { return rig_.get(); }

private:
  std::unique_ptr<TcpServer> Start(const char* name, const ListenAddress& address, TcpServer::ProtocolFactory factory,
                                   const ServerConnection::Limits& limits);

  FormPanelControl panel_;
  RigControl rigControl_;
  std::unique_ptr<TcpServer> feed_;
  std::unique_ptr<TcpServer> rig_;
};
