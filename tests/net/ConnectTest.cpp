// Resolving and connecting against real loopback peers.

#include <gtest/gtest.h>

#include "tests/net/SessionProbe.h"
#include "tests/support/ScriptedServer.h"

using namespace testsupport;

namespace {

std::string ErrorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const ESockError& error) {
    return error.Message();
  }
  return "(nothing raised)";
}

struct Counters {
  int connected = 0, resolved = 0, failed = 0, disconnected = 0, invalidHost = 0;
  void Attach(SessionProbe& session) {
    session.OnConnect = [this](TComponent*) { ++connected; };
    session.OnHostResolved = [this](TComponent*) { ++resolved; };
    session.OnConnectionFailed = [this](TComponent*) { ++failed; };
    session.OnDisconnect = [this](TComponent*) { ++disconnected; };
  }
};

}  // namespace

TEST(Connect, DottedAddressConnectsWithoutLookup) {
  ScriptedServer server({{Silent()}});
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.RecordStatuses(8);
  session.Host = "127.0.0.1";
  session.Port = server.Port() + 0x10000;  // only the low 16 bits count
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(counters.connected, 1);
  EXPECT_EQ(counters.resolved, 0);
  // One timer span only: the connect wait, no lookup wait.
  EXPECT_EQ(session.CountStatus("Timer On"), 1);
  EXPECT_EQ(session.statuses.front(), "Connecting");
  EXPECT_TRUE(server.WaitForConnections(1));
}

TEST(Connect, HostNamesAreLookedUp) {
  ScriptedServer server({{Silent()}});
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Host = "localhost";
  session.Port = server.Port();
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(counters.resolved, 1);
  EXPECT_EQ(session.GetRemoteAddress().address, sock::InetAddr("127.0.0.1"));
  EXPECT_EQ(session.GetRemoteAddress().port, sock::Htons(server.Port()));

  // The all-ones address cannot be told from "no address" by the parser, so
  // it goes through the lookup as a name.
  SessionProbe broadcast;
  Counters broadcastCounters;
  broadcastCounters.Attach(broadcast);
  broadcast.Host = "255.255.255.255";
  broadcast.Port = server.Port();
  EXPECT_THROW(broadcast.Connect(), ESockError);
  EXPECT_EQ(broadcastCounters.resolved, 1);
  EXPECT_FALSE(broadcast.GetConnected());
}

TEST(Connect, ProxyIsUsedInsteadOfHost) {
  ScriptedServer proxy({{Silent()}});
  SessionProbe session;
  session.Host = "no-such-host.invalid";
  session.Port = 1;
  session.Proxy = "127.0.0.1";
  session.ProxyPort = proxy.Port();
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_TRUE(proxy.WaitForConnections(1));
}

TEST(Connect, NoAddressIsNullRemoteAddress) {
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Port = 80;
  session.Host = "no-such-host.invalid";
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Null Remote Address");
  session.Host = "0.0.0.0";  // parses, but is no address to connect to
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Null Remote Address");
  EXPECT_EQ(counters.failed, 0);
  EXPECT_EQ(counters.resolved, 0);
}

TEST(Connect, InvalidHostGetsOneRepair) {
  ScriptedServer server({{Silent()}});
  SessionProbe session;
  session.Port = server.Port();

  int calls = 0;
  session.Host = "0.0.0.0";
  session.OnInvalidHost = [&](bool& handled) {
    ++calls;
    session.Host = "127.0.0.1";
    handled = true;
  };
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(calls, 1);
  session.Disconnect();

  // A repair that does not help is not offered twice.
  calls = 0;
  session.Host = "no-such-host.invalid";
  session.OnInvalidHost = [&](bool& handled) {
    ++calls;
    handled = true;
  };
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Null Remote Address");
  EXPECT_EQ(calls, 1);

  // A handler that leaves Handled false ends it at once.
  calls = 0;
  session.OnInvalidHost = [&](bool&) { ++calls; };
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Null Remote Address");
  EXPECT_EQ(calls, 1);
}

TEST(Connect, RefusedConnectionFails) {
  RefusingPort refusing;
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Host = "127.0.0.1";
  session.Port = refusing.Port();
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Connection Failed");
  EXPECT_EQ(counters.failed, 1);
  EXPECT_FALSE(session.GetConnected());
  EXPECT_NE(session.GetSocketHandle(), TPowersock::kNoSocket);  // keeps a socket

  // The session can still be used: disconnecting gives a fresh socket that connects.
  ScriptedServer server({{Silent()}});
  session.Disconnect();
  session.Port = server.Port();
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
}

TEST(Connect, AlreadyConnectedLeavesTheSocketAlone) {
  ScriptedServer server({{Silent()}});
  SessionProbe session;
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
  const auto socket = session.GetSocketHandle();
  session.RecordStatuses(8);
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Already connected");
  EXPECT_EQ(session.statuses, std::vector<std::string>{"Connecting"});
  EXPECT_EQ(session.GetSocketHandle(), socket);
  EXPECT_TRUE(session.GetConnected());
}

TEST(Connect, OverlongNamesAreRefusedClearly) {
  SessionProbe session;
  session.Port = 80;
  session.Host = std::string(65537, 'a');
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Host name is longer than 65536 characters");
  session.Host = "127.0.0.1";
  session.Proxy = std::string(70000, 'b');
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "Host name is longer than 65536 characters");
}

TEST(Disconnect, FirstSocketResetsReplacementClosesGracefully) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.RecordStatuses(8);

  session.Connect();
  const auto first = session.GetSocketHandle();
  session.Disconnect();
  EXPECT_FALSE(session.GetConnected());
  EXPECT_EQ(counters.disconnected, 1);
  EXPECT_NE(session.GetSocketHandle(), TPowersock::kNoSocket);
  EXPECT_EQ(session.CountStatus("Disconnecting"), 1);
  EXPECT_EQ(session.CountStatus("Request Close Socket"), 1);
  ASSERT_TRUE(server.WaitForFinished(0));
  EXPECT_TRUE(server.WasReset(0));

  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  session.Disconnect();
  ASSERT_TRUE(server.WaitForFinished(1));
  EXPECT_FALSE(server.WasReset(1));
  EXPECT_EQ(counters.disconnected, 2);
  (void)first;
}

TEST(Disconnect, PeerCloseReplacesTheSocket) {
  ScriptedServer server({{Close()}});
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
  ASSERT_TRUE(PumpUntil([&] { return counters.disconnected == 1; }));
  EXPECT_FALSE(session.GetConnected());
  EXPECT_NE(session.GetSocketHandle(), TPowersock::kNoSocket);
}

TEST(Disconnect, APeerThatClosesAtOnceStillEndsTheConnectWait) {
  // The connect and the close notification handled in one pump pass leave
  // Connected false again before the wait looks; the connection was made.
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  SessionProbe session;
  Counters counters;
  counters.Attach(session);
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.TimeOut = 5000;  // a wait that missed the connection ends here
  session.ReportLevel = 8;
  bool stepped = false;
  session.OnStatus = [&](TComponent*, const std::string& status) {
    if (status != "Timer On" || stepped) return;
    stepped = true;
    posted.Post([&] {
      const auto handle = static_cast<std::uintptr_t>(session.GetSocketHandle());
      platform::SendWindowMessage(session.Window(), kSocketEventMessage, handle,
                                  sock::MakeSelectLParam(sock::kFdConnect, 0));
      platform::SendWindowMessage(session.Window(), kSocketEventMessage, handle,
                                  sock::MakeSelectLParam(sock::kFdClose, 0));
    });
  };
  EXPECT_EQ(ErrorOf([&] { session.Connect(); }), "(nothing raised)");
  EXPECT_EQ(posted.Runs(), 1);
  EXPECT_EQ(counters.connected, 1);
  EXPECT_EQ(counters.disconnected, 1);
  EXPECT_EQ(counters.failed, 0);
  EXPECT_FALSE(session.GetConnected());
}

TEST(Lifetime, StartupCountFollowsSessions) {
  const int before = StartupCount;
  {
    SessionProbe a;
    EXPECT_EQ(StartupCount, before + 1);
    {
      SessionProbe b(&a);  // owned: freed with its owner
      EXPECT_EQ(StartupCount, before + 2);
    }
    auto* owned = new SessionProbe(&a);
    (void)owned;
    EXPECT_EQ(StartupCount, before + 2);
  }
  EXPECT_EQ(StartupCount, before);
}

TEST(Lifetime, DestroyingAConnectedSessionIsSilent) {
  ScriptedServer server({{Drain()}});
  int disconnects = 0, statuses = 0;
  {
    SessionProbe session;
    session.Host = "127.0.0.1";
    session.Port = server.Port();
    session.Connect();
    session.ReportLevel = 8;
    session.OnStatus = [&](TComponent*, const std::string&) { ++statuses; };
    session.OnDisconnect = [&](TComponent*) { ++disconnects; };
  }
  EXPECT_EQ(disconnects, 0);
  EXPECT_EQ(statuses, 0);
  ASSERT_TRUE(server.WaitForFinished(0));
  EXPECT_TRUE(server.WasReset(0));
}

TEST(Status, LevelDecidesWhatIsReported) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.RecordStatuses(4);
  session.Connect();
  session.Write("x");
  session.Disconnect();
  EXPECT_EQ(session.statuses, (std::vector<std::string>{"Sending Buffer", "Request Close Socket"}));
  EXPECT_EQ(session.GetLastStatus(), "Request Close Socket");

  session.statuses.clear();
  session.ReportLevel = 0;
  session.Connect();
  session.Disconnect();
  EXPECT_TRUE(session.statuses.empty());

  // A status handler that raises does not disturb the operation.
  session.ReportLevel = 8;
  session.OnStatus = [](TComponent*, const std::string&) { throw Exception("handler failed"); };
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
}
