// Sending, line reading, capturing and the command-and-reply exchange
// against scripted loopback peers.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/net/SessionProbe.h"
#include "tests/support/ScriptedServer.h"

using namespace testsupport;

namespace {

void ConnectTo(SessionProbe& session, const ScriptedServer& server) {
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

TEST(Write, SendsTheTextUpToItsFirstNul) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  ConnectTo(session, server);
  session.Writeln("abc");
  session.Write("");
  session.Write(std::string("left\0right", 10));
  session.Write("|");
  // The first socket closes with a reset, which drops data still in flight:
  // wait until the peer has it all.
  ASSERT_TRUE(server.WaitForReceived(0, "|"));
  EXPECT_EQ(server.Received(0), "abc\r\nleft|");
}

TEST(Write, LengthLimits) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  ConnectTo(session, server);
  const std::string largest(65535, 'a');
  session.Write(largest);
  EXPECT_THROW(session.Write(std::string(65536, 'b')), ERangeError);
  EXPECT_THROW(session.Write(std::string(70000, 'c')), ERangeError);
  EXPECT_THROW(session.Writeln(std::string(65534, 'd')), ERangeError);  // the line end makes 65536
  session.Write("end");
  ASSERT_TRUE(server.WaitForReceived(0, "end"));
  EXPECT_TRUE(server.Received(0) == largest + "end");
  EXPECT_FALSE(session.TimeOutTimer()->GetEnabled());
}

TEST(SendBuffer, ExplicitLengthMayHoldNuls) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  ConnectTo(session, server);
  const char bytes[] = {'x', '\0', 'y'};
  session.SendBuffer(bytes, 3);
  ASSERT_TRUE(server.WaitForReceived(0, "y"));
  EXPECT_EQ(server.Received(0), std::string("x\0y", 3));
}

TEST(SendFile, SendsTheWholeFileAndCountsAcrossCalls) {
  ScriptedServer server({{Drain()}});
  SessionProbe session;
  ConnectTo(session, server);
  std::string content;
  for (int i = 0; i < 200000; ++i) content.push_back(static_cast<char>(i * 7));
  const std::string path = ::testing::TempDir() + "sendfile.bin";
  WriteFile(path, content);
  int packets = 0;
  session.OnPacketSent = [&](TComponent*) { ++packets; };
  session.SendFile(path);
  session.SendFile(path);
  EXPECT_EQ(session.GetBytesSent(), 400000u);
  EXPECT_GE(packets, 2);
  EXPECT_THROW(session.SendFile(path + ".missing"), EFOpenError);
  session.Write("end");
  ASSERT_TRUE(server.WaitForReceived(0, "end"));
  EXPECT_TRUE(server.Received(0) == content + content + "end");
}

TEST(ReadLn, LineRules) {
  ScriptedServer server({{Send("AB\r\nC"), Expect("next"), Drip("in pieces\n"), Send("no line end"), Close()}});
  SessionProbe session;
  ConnectTo(session, server);
  EXPECT_EQ(session.ReadLn(), "AB\r\n");  // C stays in the socket
  EXPECT_TRUE(session.DataAvailable());
  session.Write("next");
  EXPECT_EQ(session.ReadLn(), "Cin pieces\n");
  EXPECT_EQ(session.ReadLn(), "");  // the stream ends without a line feed
  EXPECT_EQ(session.ReadLn(), "");
}

TEST(ReadLn, NotConnectedAndOverlong) {
  SessionProbe idle;
  EXPECT_EQ(idle.ReadLn(), "");
  EXPECT_EQ(idle.GetLastErrorNo(), sock::kErrNotConn);

  // A line may be 65537 bytes long, line feed included; one byte more is too long.
  const std::string longest = std::string(65536, 'l') + "\n";
  ScriptedServer server({{Send(longest + std::string(65537, 'm') + "\n"), Silent()}});
  SessionProbe session;
  ConnectTo(session, server);
  EXPECT_EQ(session.ReadLn(), longest);
  EXPECT_THROW(session.ReadLn(), ERangeError);
  EXPECT_FALSE(session.TimeOutTimer()->GetEnabled());
}

TEST(ReadLn, ResetByThePeerIsAnError) {
  ScriptedServer server({{Expect("go"), Reset()}});
  SessionProbe session;
  ConnectTo(session, server);
  session.Write("go");
  ASSERT_TRUE(server.WaitForFinished(0));
  // Either the read sees the reset itself, or the close notification has
  // already replaced the socket and the read ends as at the end of the data.
  try {
    EXPECT_EQ(session.ReadLn(), "");
  } catch (const EAbortError&) {
    FAIL() << "not an abort";
  } catch (const ESockError& error) {
    EXPECT_EQ(error.Message(), "10054:Connection reset by peer");
  }
}

TEST(CaptureString, MaximumAndBlocks) {
  ScriptedServer server({{Send("0123456789abcdefghij"), Expect("more"), Drip("drops"), Close()}});
  SessionProbe session;
  ConnectTo(session, server);
  std::string text = "unchanged";
  EXPECT_EQ(session.CaptureString(text, 0), "");  // maximum 0 reads nothing
  ASSERT_TRUE(PumpUntil([&] { return session.DataAvailable(); }));
  session.CaptureString(text, 10);
  EXPECT_GE(text.size(), 10u);  // each read takes what is there
  EXPECT_EQ(text, std::string("0123456789abcdefghij").substr(0, text.size()));
  EXPECT_EQ(session.GetBytesRecvd(), text.size());

  std::string rest;
  session.Write("more");
  int packets = 0;
  session.OnPacketRecvd = [&](TComponent*) { ++packets; };
  session.CaptureString(rest, -1);
  EXPECT_EQ(text + rest, "0123456789abcdefghijdrops");
  EXPECT_EQ(session.GetBytesRecvd(), rest.size());  // restarts with each capture
  EXPECT_GE(packets, 2);                            // single bytes are kept too
}

TEST(CaptureFile, PeerCloseMidCaptureKeepsEveryByte) {
  std::string body;
  for (int i = 0; i < 300000; ++i) body.push_back(static_cast<char>('a' + i % 26));
  ScriptedServer server({{Send(body.substr(0, 1000)), Drip("tail"), Send(body.substr(1000)), Close()}});
  SessionProbe session;
  int disconnects = 0;
  session.OnDisconnect = [&](TComponent*) { ++disconnects; };
  ConnectTo(session, server);
  const std::string path = ::testing::TempDir() + "capture.bin";
  session.CaptureFile(path);
  EXPECT_EQ(FileText(path), body.substr(0, 1000) + "tail" + body.substr(1000));
  EXPECT_EQ(session.GetBytesRecvd(), body.size() + 4);
  EXPECT_LE(disconnects, 1);  // fired from inside the capture when the socket was replaced
  EXPECT_THROW(session.CaptureFile("/nonexistent-dir/x"), EFCreateError);
}

// A reset that arrives while a capture waits comes with the close
// notification, which replaces the socket: the capture must still fail with
// the reset rather than end as at a graceful close.
TEST(CaptureFile, ResetByThePeerWhileWaitingIsAnErrorAndKeepsWhatArrived) {
  ScriptedServer server({{Send("first"), Drip("xyz"), Reset()}});
  SessionProbe session;
  ConnectTo(session, server);
  const std::string path = ::testing::TempDir() + "reset.bin";
  try {
    session.CaptureFile(path);
    ADD_FAILURE() << "the reset passed for the end of the data";
  } catch (const ESockError& error) {
    EXPECT_EQ(error.Message(), "10054:Connection reset by peer");
  }
  EXPECT_EQ(FileText(path), "firstxyz");
  EXPECT_EQ(session.GetLastErrorNo(), sock::kErrConnReset);
  EXPECT_FALSE(session.TimeOutTimer()->GetEnabled());

  // The next connection starts clean: a graceful close ends a capture normally.
  ScriptedServer next({{Send("whole"), Close()}});
  session.Disconnect();
  ConnectTo(session, next);
  session.CaptureFile(path);
  EXPECT_EQ(FileText(path), "whole");
}

TEST(CaptureString, ResetByThePeerWhileWaitingIsAnError) {
  ScriptedServer server({{Send("first"), Drip("xyz"), Reset()}});
  SessionProbe session;
  ConnectTo(session, server);
  std::string text;
  try {
    session.CaptureString(text, -1);
    ADD_FAILURE() << "the reset passed for the end of the data";
  } catch (const ESockError& error) {
    EXPECT_EQ(error.Message(), "10054:Connection reset by peer");
  }
  EXPECT_EQ(text, "firstxyz");
}

TEST(Transaction, ReplyNumbers) {
  ScriptedServer server({{Expect("HELO\r\n"), Send("250 OK\r\n"), Expect("NOOP\r\n"), Send("OK fine\r\n"),
                          Expect("BIG\r\n"), Send("40000 too big\r\n"), Expect("END\r\n"), Close()}});
  SessionProbe session;
  ConnectTo(session, server);
  session.RecordStatuses(1);
  EXPECT_EQ(session.Transaction("HELO"), "250 OK\r\n");
  EXPECT_EQ(session.GetReplyNumber(), 250);
  EXPECT_EQ(session.statuses, std::vector<std::string>{"250 OK\r\n"});
  EXPECT_EQ(session.Transaction("NOOP"), "OK fine\r\n");
  EXPECT_EQ(session.GetReplyNumber(), 0);
  EXPECT_THROW(session.Transaction("BIG"), ERangeError);
  EXPECT_EQ(session.GetReplyMessage(), "40000 too big\r\n");
  EXPECT_EQ(session.Transaction("END"), "");
  EXPECT_EQ(session.GetReplyNumber(), 0);
}
