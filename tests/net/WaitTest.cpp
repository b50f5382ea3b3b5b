// Ending each kind of wait by the time-out timer and by Cancel, and waits
// that are re-entered from handlers running inside them.

#include <gtest/gtest.h>

#include "base/Streams.h"
#include "tests/net/SessionProbe.h"
#include "tests/support/ScriptedServer.h"

using namespace testsupport;

namespace {

template <class Error>
std::string Raised(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const Error& error) {
    return error.Message();
  }
  return "(nothing raised)";
}

// Runs step from inside the lookup wait: posted at the lookup's "Timer On",
// so it is handled by the wait's first pump pass, before the reply.
void DuringLookup(SessionProbe& session, PostedStep& posted, std::function<void()> step) {
  session.ReportLevel = 8;
  session.OnStatus = [&session, &posted, step](TComponent*, const std::string& status) {
    if (status == "Timer On" && session.CountStatus("Timer On") == 0) posted.Post(step);
    session.statuses.push_back(status);
  };
}

void ConnectTo(SessionProbe& session, const ScriptedServer& server) {
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
}

}  // namespace

TEST(LookupWait, EndedByCancelAndByTheTimer) {
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  SessionProbe session;
  int failed = 0, resolved = 0;
  session.OnConnectionFailed = [&](TComponent*) { ++failed; };
  session.OnHostResolved = [&](TComponent*) { ++resolved; };
  session.Host = "localhost";
  session.Port = server.Port();

  DuringLookup(session, posted, [&] { session.Cancel(); });
  EXPECT_EQ(Raised<ESockError>([&] { session.Connect(); }), "Host Lookup Canceled");
  EXPECT_TRUE(session.IsCanceled());  // left set for the next transfer

  session.statuses.clear();
  DuringLookup(session, posted, [&] { session.TimerFired(nullptr); });
  EXPECT_EQ(Raised<ESockError>([&] { session.Connect(); }), "Host Lookup Timed Out");
  EXPECT_EQ(failed, 0);  // a lookup failure is no connection failure
  EXPECT_EQ(resolved, 0);

  // The withdrawn lookups never end a later one: this lookup waits for its
  // own reply and connects.
  session.OnStatus = nullptr;
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(resolved, 1);
}

TEST(LookupWait, StrayRepliesAreIgnored) {
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  SessionProbe session;
  session.Host = "localhost";
  session.Port = server.Port();
  // A reply for another task, with an error, arrives before the real one.
  DuringLookup(session, posted, [&] {
    const bool succeeded = session.IsSucceeded();
    platform::SendWindowMessage(session.Window(), kLookupDoneMessage, 0x7FFF,
                                sock::MakeSelectLParam(0, sock::kErrHostNotFound));
    EXPECT_FALSE(session.IsWaitDone());
    EXPECT_EQ(session.IsSucceeded(), succeeded);
  });
  session.Connect();
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(posted.Runs(), 1);
}

TEST(LookupWait, SessionGoneBeforeTheReply) {
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  {
    auto session = std::make_unique<SessionProbe>();
    session->Host = "localhost";
    session->Port = server.Port();
    DuringLookup(*session, posted, [&] { session->Cancel(); });
    EXPECT_THROW(session->Connect(), ESockError);
  }
  // Another lookup runs to its end after the first session's buffer is gone;
  // the sanitizer build catches any late write into it.
  SessionProbe other;
  other.Host = "localhost";
  other.Port = server.Port();
  other.Connect();
  EXPECT_TRUE(other.GetConnected());
  for (int pass = 0; pass < 5; ++pass) platform::ProcessMessages();
}

TEST(ConnectWait, EndedByTheTimerAndByCancel) {
  UnansweredPort unanswered;
  PostedStep posted;
  SessionProbe session;
  int failed = 0;
  session.OnConnectionFailed = [&](TComponent*) { ++failed; };
  session.Host = "127.0.0.1";
  session.Port = unanswered.Port();

  session.TimeOut = 50;
  EXPECT_EQ(Raised<ESockError>([&] { session.Connect(); }), "Connection Timed out");
  EXPECT_EQ(failed, 1);
  EXPECT_FALSE(session.GetConnected());
  EXPECT_FALSE(session.TimeOutTimer()->GetEnabled());

  // With no time-out the wait lasts until Cancel.
  session.Disconnect();
  session.TimeOut = 0;
  session.ReportLevel = 8;
  session.OnStatus = [&](TComponent*, const std::string& status) {
    if (status == "Timer On") posted.Post([&] { session.Cancel(); });
  };
  EXPECT_EQ(Raised<ESockError>([&] { session.Connect(); }), "Connection Canceled");
  EXPECT_EQ(failed, 2);
}

TEST(ConnectWait, NegativeTimeOutIsARangeError) {
  ScriptedServer server({{Silent()}});
  SessionProbe session;
  session.TimeOut = -1;
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  EXPECT_THROW(session.Connect(), ERangeError);
}

TEST(DataWait, ReadLnEndedByTheTimerAndByCancel) {
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  SessionProbe session;
  ConnectTo(session, server);
  session.TimeOut = 50;
  EXPECT_EQ(Raised<EAbortError>([&] { session.ReadLn(); }), "Socket readln aborted");
  EXPECT_FALSE(session.IsCanceled());  // consumed by the abort

  session.TimeOut = 0;
  posted.Post([&] { session.Cancel(); });
  EXPECT_EQ(Raised<EAbortError>([&] { session.ReadLn(); }), "Socket readln aborted");
}

TEST(DataWait, CapturesEndedByTheTimerAndByCancel) {
  ScriptedServer server({{Send("abc"), Silent()}});
  SessionProbe session;
  ConnectTo(session, server);
  const std::string path = ::testing::TempDir() + "capture_cancel.bin";

  // Cancel after the first block: the file keeps what was written.
  session.OnPacketRecvd = [&](TComponent*) { session.Cancel(); };
  EXPECT_EQ(Raised<EAbortError>([&] { session.CaptureFile(path); }), "Socket send aborted");
  EXPECT_EQ(session.GetBytesRecvd(), 3u);
  {
    TFileStream file(path, TFileStream::OpenRead);
    char bytes[8] = {};
    EXPECT_EQ(file.Read(bytes, sizeof bytes), 3);
    EXPECT_EQ(std::string(bytes, 3), "abc");
  }

  // The time-out counts from the start of the capture.
  session.OnPacketRecvd = nullptr;
  session.TimeOut = 50;
  std::string text = "old";
  EXPECT_EQ(Raised<EAbortError>([&] { session.CaptureString(text, -1); }), "Socket capture aborted");
  EXPECT_EQ(text, "");
}

TEST(DataWait, AbortLeftOverFailsTheNextTransferAtOnce) {
  ScriptedServer server({{Send("line\n"), Silent()}});
  SessionProbe session;
  ConnectTo(session, server);
  const std::string path = ::testing::TempDir() + "capture_leftover.bin";
  {
    TFileStream file(path, TFileStream::Create);
    file.WriteText("stale");
  }
  session.Cancel();
  EXPECT_EQ(Raised<EAbortError>([&] { session.CaptureFile(path); }), "Socket send aborted");
  EXPECT_EQ(TFileStream(path, TFileStream::OpenRead).Size(), 0);  // created, nothing read
  session.Cancel();
  EXPECT_EQ(Raised<EAbortError>([&] { session.Write("x"); }), "Socket send aborted");
  // The flag is consumed: the data is still there for the next read.
  EXPECT_EQ(session.ReadLn(), "line\n");
  EXPECT_FALSE(server.WaitForReceived(0, "x", std::chrono::milliseconds(0)));
}

TEST(DataWait, SendToAPeerThatTakesNothing) {
  ScriptedServer server({{Silent()}});
  PostedStep posted;
  SessionProbe session;
  ConnectTo(session, server);
  const std::string block(65535, 'z');

  session.TimeOut = 100;
  EXPECT_EQ(Raised<EAbortError>([&] {
              for (int i = 0; i < 100000; ++i) session.Write(block);
            }),
            "Socket send aborted");

  // Cancel from a step that can only run while the send waits for room.
  session.TimeOut = 0;
  session.ReportLevel = 4;
  session.OnStatus = [&](TComponent*, const std::string&) {
    if (posted.Runs() == 0) posted.Post([&] { session.Cancel(); });
  };
  EXPECT_EQ(Raised<EAbortError>([&] {
              for (int i = 0; i < 100000; ++i) session.Write(block);
            }),
            "Socket send aborted");
  EXPECT_EQ(posted.Runs(), 1);
}

TEST(Reentry, HandlerPumpsInsideTheWait) {
  ScriptedServer server({{Expect("ping\r\n"), Send("pong\r\n"), Silent()}});
  PostedStep posted;
  SessionProbe session;
  session.Host = "localhost";
  session.Port = server.Port();
  // A handler that runs a pump of its own until the lookup reply and the
  // connect notification have been handled inside it.
  DuringLookup(session, posted, [&] { PumpUntil([&] { return session.IsWaitDone(); }); });
  session.Connect();
  EXPECT_TRUE(session.GetConnected());

  // A nested pump that swallows the read notification does not strand ReadLn.
  session.OnStatus = nullptr;
  session.Writeln("ping");
  posted.Post([&] { PumpUntil([&] { return session.DataAvailable(); }); });
  EXPECT_EQ(session.ReadLn(), "pong\r\n");
}
