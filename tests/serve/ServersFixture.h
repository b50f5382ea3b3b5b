#pragma once
// The two servers as the program runs them: serve.ini in the test's working
// folder, the panel started, PanelServers on the message loop, and clients
// on threads of their own while the test's thread pumps.

#include <memory>
#include <string>

#include "serve/PanelServers.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/BackgroundTask.h"
#include "tests/support/LoopbackClient.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/PumpUntil.h"

class ServersTest : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    feedPort = testsupport::FreeLoopbackPort();
    do rigPort = testsupport::FreeLoopbackPort();
    while (rigPort == feedPort);
  }
  void TearDown() override {
    servers.reset();
    PanelTest::TearDown();
  }

  static std::string Loopback(std::uint16_t port) { return "127.0.0.1:" + std::to_string(port); }

  // Writes serve.ini (unless null), starts the panel and the servers;
  // returns what they said on stderr.
  std::string Start(const char* serveIni) {
    if (serveIni != nullptr) WriteFile("serve.ini", serveIni);
    StartPanel();
    ::testing::internal::CaptureStderr();
    servers = std::make_unique<PanelServers>(form, view);
    return ::testing::internal::GetCapturedStderr();
  }
  std::string StartBoth() { return Start((Loopback(feedPort) + "\n" + Loopback(rigPort) + "\n").c_str()); }

  // Runs work on a thread of its own while the loop serves it.
  static void Serve(const std::function<void()>& work) {
    testsupport::BackgroundTask task(work);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return task.Done(); }, std::chrono::seconds(60)));
  }
  testsupport::ClientReply Exchange(std::uint16_t port, const std::string& request) {
    testsupport::ClientReply reply;
    Serve([&] { reply = testsupport::Exchange(port, request); });
    return reply;
  }

  std::uint16_t feedPort = 0;
  std::uint16_t rigPort = 0;
  std::unique_ptr<PanelServers> servers;
};
