// Reading the status line, the header and the body, in file and text modes,
// and the events that report the outcome.
#include <vector>

#include "tests/http/HttpTestKit.h"

using namespace httptest;
using testsupport::ScriptedServer;

using HttpResponse = HttpTest;

TEST_F(HttpResponse, HeaderGoesToTheTextAndTheBodyToTheFile) {
  const std::string body = std::string("line 1\r\n\0binary\n", 16) + std::string(200000, 'z');
  ScriptedServer server({Answer("HTTP/1.0 200 OK\r\nServer: s\nContent-Length: 3\r\n\r\n" + body)});
  std::vector<std::string> events;
  http->OnAboutToSend = [&](TComponent* s) {
    EXPECT_EQ(s, http.get());
    events.push_back("about");
  };
  http->OnConnect = [&](TComponent*) { events.push_back("connect"); };
  http->OnSuccess = [&](CmdType) { events.push_back("success"); };
  int packets = 0;
  http->OnPacketRecvd = [&](TComponent*) { ++packets; };
  http->Get(Url(server, "/f"));
  EXPECT_EQ(http->GetReplyNumber(), 200);
  EXPECT_EQ(http->Header, "HTTP/1.0 200 OK\r\nServer: s\nContent-Length: 3\r\n\r\n");
  EXPECT_EQ(BodyFile(), body);  // the response's Content-Length does not limit the body
  EXPECT_GE(packets, 1);
  EXPECT_EQ(events, (std::vector<std::string>{"about", "connect", "success"}));
  EXPECT_FALSE(std::filesystem::exists(dir.File("Head.txt")));
}

TEST_F(HttpResponse, TextModeAndFileModeTheOtherWayRound) {
  ScriptedServer server({Answer("HTTP/1.0 200 OK\r\nX: y\r\n\r\nbody text")});
  http->InputFileMode = false;
  http->OutputFileMode = true;
  http->Header = dir.File("Head.txt");
  http->Body = "old text";
  http->Get(Url(server, "/"));
  EXPECT_EQ(http->Body, "body text");
  EXPECT_EQ(ReadFile(dir.File("Head.txt")), "HTTP/1.0 200 OK\r\nX: y\r\n\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("freq.ini")));
}

TEST_F(HttpResponse, StatusComesFromTheSecondField) {
  struct Case {
    std::string statusLine;
    int status;
    bool success;
  };
  const std::vector<Case> cases = {
      {"HTTP/1.0 200 OK\r\n", 200, true},  {"HTTP/1.0 200\r\n", 0, true},  // the field still holds the terminator
      {"HTTP/1.0 200\n", 0, true},         {"HTTP/1.1 204 No Content\n", 204, true},
      {"HTTP/1.0  200 OK\r\n", 0, true},  // two blanks: the second field is empty
      {"HTTP/1.0 70000 Big\r\n", 0, true}, {"HTTP/1.0 500 Oops\r\n", 500, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statusLine);
    ScriptedServer server({Answer(c.statusLine + "\r\nbody")});
    int successes = 0, failures = 0;
    http->OnSuccess = [&](CmdType) { ++successes; };
    http->OnFailure = [&](CmdType) { ++failures; };
    http->Get(Url(server, "/"));
    EXPECT_EQ(http->GetReplyNumber(), c.status);
    EXPECT_EQ(successes, c.success ? 1 : 0);
    EXPECT_EQ(failures, c.success ? 0 : 1);
    EXPECT_EQ(BodyFile(), "body");
  }
}

TEST_F(HttpResponse, NotFoundIsAnEventAndItsPageIsSaved) {
  ScriptedServer server({Answer("HTTP/1.0 404 Not Found\r\n\r\n<h1>gone</h1>")});
  WriteFile(http->Body, "7010\n5\nSSB\n1\n");
  std::vector<CmdType> failures;
  http->OnFailure = [&](CmdType kind) { failures.push_back(kind); };
  http->OnSuccess = [&](CmdType) { ADD_FAILURE() << "no success for 404"; };
  EXPECT_NO_THROW(http->Get(Url(server, "/freq.ini")));
  EXPECT_EQ(failures, std::vector<CmdType>{cmdGET});
  EXPECT_EQ(BodyFile(), "<h1>gone</h1>");
}

TEST_F(HttpResponse, ServerThatClosesAtOnceGivesStatusZeroAndSuccess) {
  ScriptedServer server({{testsupport::Expect("\r\n\r\n"), testsupport::Close()}});
  WriteFile(http->Body, "old");
  http->InputFileMode = true;
  int successes = 0;
  http->OnSuccess = [&](CmdType) { ++successes; };
  http->Get(Url(server, "/"));
  EXPECT_EQ(http->GetReplyNumber(), 0);
  EXPECT_EQ(successes, 1);
  EXPECT_EQ(BodyFile(), "");
  EXPECT_EQ(http->Header, "");
}

TEST_F(HttpResponse, HeadCreatesAnEmptyBodyFile) {
  ScriptedServer server({Answer("HTTP/1.0 200 OK\r\nContent-Length: 99\r\n\r\n")});
  ASSERT_FALSE(std::filesystem::exists(http->Body));
  http->Head(Url(server, "/big"));
  EXPECT_TRUE(std::filesystem::exists(http->Body));
  EXPECT_EQ(BodyFile(), "");
}

TEST_F(HttpResponse, HeaderThatArrivesInPiecesIsReadWhole) {
  ScriptedServer server(
      {{testsupport::Expect("\r\n\r\n"), testsupport::Drip("HTTP/1.0 200 OK\r\nSet-Cookie: k=v\r\n\r\nab")}});
  http->Get(Url(server, "/"));
  EXPECT_EQ(http->Header, "HTTP/1.0 200 OK\r\nSet-Cookie: k=v\r\n\r\n");
  EXPECT_EQ(http->LastCookie, "k=v");
  EXPECT_EQ(BodyFile(), "ab");
}

TEST_F(HttpResponse, CookieAndLocationValuesComeFromFixedPositions) {
  const std::string longValue(300, 'v');
  ScriptedServer server(
      {Answer("HTTP/1.0 200 OK\r\n"
              "set-cookie: first\r\n"
              "Set-Cookie:  two blanks\r\n"
              "Set-Cookie:nospace\r\n"
              "LOCATION: /here\n"
              "X-Location: /not\r\n"
              "Set-Cookie: " +
              longValue +
              "\r\n"
              "\r\n")});
  http->Get(Url(server, "/"));
  EXPECT_EQ(http->LastCookie, longValue.substr(0, 256));
  EXPECT_EQ(http->LastLocation, "/here");
  EXPECT_EQ(http->GetReplyNumber(), 200);
  // A cookie of a 200 answer is not kept for later requests.
  EXPECT_EQ(http->HeaderInfo->Cookie, "");
}

TEST_F(HttpResponse, UnauthorizedAsksForCredentialsAndMayBeCalledAgain) {
  ScriptedServer server({Answer("HTTP/1.0 401 Unauthorized\r\n\r\nno"), Answer("HTTP/1.0 200 OK\r\n\r\nyes")});
  std::vector<std::string> events;
  http->OnFailure = [&](CmdType) { events.push_back("failure"); };
  http->OnAuthenticationNeeded = [&](TComponent* s) {
    EXPECT_FALSE(http->GetConnected());
    events.push_back("auth");
    if (events.size() > 2) return;
    http->HeaderInfo->UserId = "u";
    http->HeaderInfo->Password = "p";
    static_cast<TNMHTTP*>(s)->Get(http->RequestUrl);
  };
  http->OnSuccess = [&](CmdType) { events.push_back("success"); };
  http->Get(Url(server, "/secret"));
  EXPECT_EQ(events, (std::vector<std::string>{"failure", "auth", "success"}));
  ASSERT_EQ(server.Connections(), 2);
  EXPECT_NE(server.Received(1).find("Authorization: Basic dTpw\r\n"), std::string::npos);
  EXPECT_EQ(BodyFile(), "yes");
}
