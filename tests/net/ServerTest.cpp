// The server side of the socket layer on the message loop, against blocking
// loopback clients on threads of their own: graceful ends even with unread
// bytes, the ceiling, deadlines, a peer that never reads, a peer that
// resets, and notifications that arrive while a protocol call pumps.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "net/TcpServer.h"
#include "tests/support/BackgroundTask.h"
#include "tests/support/LoopbackClient.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/PumpUntil.h"

namespace {

namespace lb = testsupport::loopback;
using testsupport::BackgroundTask;
using testsupport::ClientReply;
using testsupport::PumpUntil;
using namespace std::chrono_literals;

constexpr std::uint32_t kLoopback = 0x7F000001;

// A protocol made of the test's own steps.
struct Steps : ConnectionProtocol {
  std::function<void(ServerConnection&)> opened;
  std::function<void(ServerConnection&, std::string_view)> received;
  void Opened(ServerConnection& connection) override {
    if (opened) opened(connection);
  }
  void Received(ServerConnection& connection, std::string_view bytes) override {
    if (received) received(connection, bytes);
  }
};

class Server : public ::testing::Test {
protected:
  // Starts the server on a port of the system's choosing.
  void Start(std::size_t ceiling = 8, ServerConnection::Limits limits = {}) {
    server = std::make_unique<TcpServer>(
        [this] {
          auto steps = std::make_unique<Steps>();
          steps->opened = opened;
          steps->received = received;
          return steps;
        },
        ceiling, limits);
    server->OnCeiling = [this](bool full) { ceilings.push_back(full); };
    ASSERT_EQ(server->Listen(kLoopback, 0), 0);
    ASSERT_NE(server->Port(), 0);
  }
  bool PumpUntilClosed() {
    return PumpUntil([&] { return server->Connections() == 0; }, 10s);
  }

  std::function<void(ServerConnection&)> opened;
  std::function<void(ServerConnection&, std::string_view)> received;
  std::unique_ptr<TcpServer> server;
  std::vector<bool> ceilings;
};

// After the answer the server stops reading, yet a close with unread bytes
// in its buffer would reset the connection and could destroy the answer in
// the client's buffer: the server ends its side and drains instead.
TEST_F(Server, AnswersEveryClientAndEndsGracefullyWhateverTheClientStillSends) {
  received = [](ServerConnection& connection, std::string_view bytes) {
    connection.Send("answer:" + std::string(bytes.substr(0, bytes.find('\n'))) + "\n");
    connection.CloseWhenSent();
  };
  Start();
  std::vector<ClientReply> replies(5);
  std::vector<std::unique_ptr<BackgroundTask>> clients;
  for (std::size_t i = 0; i < replies.size(); ++i) {
    clients.push_back(std::make_unique<BackgroundTask>([&, i, port = server->Port()] {
      const int fd = lb::ConnectLoopback(port);
      testsupport::SendAll(fd, "client" + std::to_string(i) + "\n" + std::string(200000, 'x'));
      replies[i] = testsupport::ReadToEnd(fd);
      lb::CloseSocket(fd);
    }));
  }
  ASSERT_TRUE(PumpUntil([&] {
    for (const auto& client : clients)
      if (!client->Done()) return false;
    return true;
  }, 10s));
  for (std::size_t i = 0; i < replies.size(); ++i) {
    EXPECT_EQ(replies[i].bytes, "answer:client" + std::to_string(i) + "\n");
    EXPECT_TRUE(replies[i].closed) << "client " << i << (replies[i].reset ? " was reset" : " timed out");
  }
  EXPECT_TRUE(PumpUntilClosed());
}

TEST_F(Server, TurnsClientsAwayAtTheCeilingAndTakesThemAgainWhenOneLeaves) {
  Start(2);
  const int first = lb::ConnectLoopback(server->Port());
  const int second = lb::ConnectLoopback(server->Port());
  ASSERT_TRUE(PumpUntil([&] { return server->Connections() == 2; }));
  ClientReply turnedAway;
  {
    BackgroundTask third([&] { turnedAway = testsupport::Exchange(server->Port(), ""); });
    ASSERT_TRUE(PumpUntil([&] { return third.Done(); }));
  }
  EXPECT_TRUE(turnedAway.closed && turnedAway.bytes.empty());
  EXPECT_EQ(ceilings, std::vector<bool>{true});

  lb::CloseSocket(first);
  ASSERT_TRUE(PumpUntil([&] { return server->Connections() == 1; }));
  const int again = lb::ConnectLoopback(server->Port());
  EXPECT_TRUE(PumpUntil([&] { return server->Connections() == 2; }));
  EXPECT_EQ(ceilings, (std::vector<bool>{true, false}));
  lb::CloseSocket(second);
  lb::CloseSocket(again);
  EXPECT_TRUE(PumpUntilClosed());
}

TEST_F(Server, ADeadlineClosesAClientThatSendsNothing) {
  opened = [](ServerConnection& connection) { connection.SetDeadline(100); };
  Start();
  ClientReply reply;
  BackgroundTask client([&] {
    const int fd = lb::ConnectLoopback(server->Port());
    reply = testsupport::ReadToEnd(fd, 10000);
    lb::CloseSocket(fd);
  });
  ASSERT_TRUE(PumpUntil([&] { return client.Done(); }, 15s));
  EXPECT_TRUE(reply.closed && reply.bytes.empty());
  EXPECT_TRUE(PumpUntilClosed());
}

// It sends commands and never reads their answers: reading pauses once the
// output passes its cap, and the stalled output ends the connection.
TEST_F(Server, AClientThatNeverReadsHoldsLittleAndIsCutOff) {
  received = [](ServerConnection& connection, std::string_view bytes) {
    connection.Send(std::string(bytes.size() * 100, 'a'));
  };
  const ServerConnection::Limits limits{.readChunk = 64, .maxUnsent = 4096, .sendStallMs = 300, .lingerMs = 300};
  Start(8, limits);
  BackgroundTask flood([port = server->Port()] {
    const int fd = lb::ConnectLoopback(port);
    const std::string block(65536, 'f');
    while (testsupport::SendAll(fd, block)) {
    }
    lb::CloseSocket(fd);
  });
  std::size_t most = 0;
  ASSERT_TRUE(PumpUntil([&] { return server->Connections() == 1; }));
  EXPECT_TRUE(PumpUntil([&] {
    most = std::max(most, server->BytesHeld());
    return server->Connections() == 0;
  }, 30s));
  EXPECT_LE(most, limits.maxUnsent + limits.readChunk * 100);
  EXPECT_TRUE(PumpUntil([&] { return flood.Done(); }));
}

TEST_F(Server, AClientThatResetsMidAnswerEndsOnlyItsOwnConnection) {
  received = [](ServerConnection& connection, std::string_view bytes) {
    connection.Send(bytes == "big" ? std::string(8 << 20, 'b') : "small");
    connection.CloseWhenSent();
  };
  Start();
  ClientReply other;
  BackgroundTask client([&, port = server->Port()] {
    const int fd = lb::ConnectLoopback(port);
    testsupport::SendAll(fd, "big");
    testsupport::ReadUntil(fd, [](const std::string& got) { return got.size() >= 1000; });
    lb::SetResetOnClose(fd);
    lb::CloseSocket(fd);
    other = testsupport::Exchange(port, "hello");
  });
  ASSERT_TRUE(PumpUntil([&] { return client.Done(); }, 10s));
  EXPECT_EQ(other.bytes, "small");
  EXPECT_TRUE(PumpUntilClosed());
}

// The protocol pumps messages while the client sends more and closes: the
// notifications wait until the call returns, so the protocol is never
// entered twice and the connection is not closed under it.
TEST_F(Server, ANotificationDuringAProtocolCallWaitsUntilTheCallReturns) {
  std::atomic<bool> inside{false};
  std::atomic<bool> clientDone{false};
  int depth = 0;
  int deepest = 0;
  std::string got;
  received = [&](ServerConnection&, std::string_view bytes) {
    deepest = std::max(deepest, ++depth);
    got.append(bytes);
    if (got == "a") {
      inside = true;
      PumpUntil([&] { return clientDone.load(); });
      for (int i = 0; i < 20; ++i) testsupport::PumpOnce();  // the notifications of its data and close
    }
    --depth;
  };
  Start();
  BackgroundTask client([&, port = server->Port()] {
    const int fd = lb::ConnectLoopback(port);
    testsupport::SendAll(fd, "a");
    testsupport::WaitUntil([&] { return inside.load(); });
    testsupport::SendAll(fd, "b");
    lb::CloseSocket(fd);
    clientDone = true;
  });
  EXPECT_TRUE(PumpUntilClosed());
  EXPECT_TRUE(PumpUntil([&] { return client.Done(); }));
  EXPECT_EQ(got, "ab");
  EXPECT_EQ(deepest, 1);
}

TEST_F(Server, APortAlreadyTakenIsRefusedWithItsErrorNumber) {
  Start();
  TcpServer second([] { return std::make_unique<Steps>(); }, 1, {});
  EXPECT_EQ(second.Listen(kLoopback, server->Port()), sock::kErrAddrInUse);
  EXPECT_EQ(second.Port(), 0);
}

}  // namespace
