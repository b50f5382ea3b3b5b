// What a request raises, and the state it leaves behind.
#include <vector>

#include "base/Exception.h"
#include "net/SockErrors.h"
#include "tests/http/HttpTestKit.h"

using namespace httptest;
using testsupport::ScriptedServer;

using HttpFailure = HttpTest;

namespace {

template <class E, class F>
std::string MessageOf(F&& call) {
  try {
    call();
  } catch (const E& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return std::string("wrong exception: ") + e.what();
  }
  return "<nothing raised>";
}

const std::string kOk = "HTTP/1.0 200 OK\r\n\r\nok";

}  // namespace

TEST_F(HttpFailure, BadUrlsRaiseBeforeAnythingIsSent) {
  ScriptedServer server({Answer(kOk)});
  int aboutToSend = 0;
  http->OnAboutToSend = [&](TComponent*) { ++aboutToSend; };
  EXPECT_EQ(MessageOf<Exception>([&] { http->Get(""); }), "Empty URL");
  EXPECT_EQ(MessageOf<Exception>([&] { http->Get("https://127.0.0.1/"); }), "HTTP Secure Socket is not supported");
  EXPECT_EQ(MessageOf<EConvertError>([&] { http->Get("http://127.0.0.1:p1/"); }), "'p1' is not a valid integer value");
  EXPECT_EQ(aboutToSend, 0);
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(HttpFailure, MissingRequestFileRaisesBeforeConnecting) {
  ScriptedServer server({Answer(kOk)});
  http->OutputFileMode = true;
  const std::string missing = dir.File("no-such.dat");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { http->Put(Url(server, "/"), missing); }), "Cannot open file " + missing);
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(HttpFailure, RefusedConnectionLeavesTheOldBodyFile) {
  testsupport::RefusingPort refusing;
  WriteFile(http->Body, "previous");
  int failedConnections = 0;
  http->OnConnectionFailed = [&](TComponent*) { ++failedConnections; };
  EXPECT_EQ(MessageOf<ESockError>([&] { http->Get("http://127.0.0.1:" + std::to_string(refusing.Port()) + "/"); }),
            "Connection Failed");
  EXPECT_EQ(failedConnections, 1);
  EXPECT_EQ(BodyFile(), "previous");
  EXPECT_FALSE(http->GetConnected());

  // The component is usable again afterwards.
  ScriptedServer server({Answer(kOk)});
  http->Get(Url(server, "/"));
  EXPECT_EQ(BodyFile(), "ok");
}

TEST_F(HttpFailure, BodyFileThatCannotBeCreatedClosesTheConnection) {
  ScriptedServer server({Answer(kOk)});
  http->Body = dir.File("no-dir/freq.ini");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { http->Get(Url(server, "/")); }), "Cannot create file " + http->Body);
  EXPECT_FALSE(http->GetConnected());
  EXPECT_TRUE(server.WaitForFinished(0));
}

TEST_F(HttpFailure, HeaderFileThatCannotBeCreatedClosesTheConnection) {
  ScriptedServer server({Answer(kOk)});
  http->OutputFileMode = true;
  http->Header = dir.File("no-dir/Head.txt");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { http->Get(Url(server, "/")); }), "Cannot create file " + http->Header);
  EXPECT_FALSE(http->GetConnected());
}

TEST_F(HttpFailure, AbortDuringTheBodyKeepsWhatArrived) {
  ScriptedServer server({{testsupport::Expect("\r\n\r\n"), testsupport::Send("HTTP/1.0 200 OK\r\n\r\nfirst part"),
                          testsupport::Silent()}});
  http->TimeOut = 0;
  http->OnPacketRecvd = [&](TComponent*) { http->Abort(); };
  int successes = 0;
  http->OnSuccess = [&](CmdType) { ++successes; };
  EXPECT_EQ(MessageOf<EAbortError>([&] { http->Get(Url(server, "/")); }), "Socket send aborted");
  EXPECT_EQ(BodyFile(), "first part");
  EXPECT_EQ(successes, 0);
  EXPECT_FALSE(http->GetConnected());
}

TEST_F(HttpFailure, TimeOutEndsASilentServer) {
  ScriptedServer server({{testsupport::Expect("\r\n\r\n"), testsupport::Silent()}});
  http->TimeOut = 200;
  EXPECT_EQ(MessageOf<EAbortError>([&] { http->Get(Url(server, "/")); }), "Socket readln aborted");
  EXPECT_FALSE(http->GetConnected());
}

TEST_F(HttpFailure, RequestFromAHandlerIsRefusedAndTheRunningOneGoesOn) {
  ScriptedServer server({Answer(kOk), Answer(kOk)});
  const std::string url = Url(server, "/running");
  std::vector<std::string> refusals;
  const auto tryAnother = [&] {
    refusals.push_back(MessageOf<ESockError>([&] { http->Post(Url(server, "/other"), "x"); }));
  };
  http->OnConnect = [&](TComponent*) { tryAnother(); };
  http->OnPacketRecvd = [&](TComponent*) { tryAnother(); };
  http->OnSuccess = [&](CmdType) { tryAnother(); };
  http->Get(url);
  ASSERT_EQ(refusals.size(), 3u);
  for (const auto& message : refusals) EXPECT_EQ(message, "Already connected");
  EXPECT_EQ(server.Connections(), 1);
  EXPECT_EQ(http->RequestUrl, url);
  EXPECT_EQ(http->RequestKind, cmdGET);
  EXPECT_EQ(http->RequestData, "");
  EXPECT_EQ(BodyFile(), "ok");
  EXPECT_EQ(http->HeaderList->Strings(0), "GET /running HTTP/1.0");
}

TEST_F(HttpFailure, HandlerExceptionsReachTheCallerWithTheConnectionClosed) {
  ScriptedServer server({Answer(kOk)});
  http->OnSuccess = [](CmdType) { throw Exception("from handler"); };
  EXPECT_EQ(MessageOf<Exception>([&] { http->Get(Url(server, "/")); }), "from handler");
  EXPECT_FALSE(http->GetConnected());
}
