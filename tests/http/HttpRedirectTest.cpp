// Following redirects: location forms, the cookie carried across, the
// handler that stops it, the bound on their number.
#include <vector>

#include "base/Exception.h"
#include "tests/http/HttpTestKit.h"

using namespace httptest;
using testsupport::ScriptedServer;

using HttpRedirect = HttpTest;

namespace {
std::string Moved(const std::string& location, const std::string& extra = "") {
  return "HTTP/1.0 302 Found\r\n" + (location.empty() ? "" : "Location: " + location + "\r\n") + extra +
         "\r\nmoved body";
}
const std::string kOk = "HTTP/1.0 200 OK\r\n\r\nfinal";
}  // namespace

TEST_F(HttpRedirect, PathLocationKeepsHostAndPort) {
  ScriptedServer server({Answer(Moved("/next")), Answer(kOk)});
  int redirects = 0;
  http->OnRedirect = [&](bool& handled) {
    EXPECT_FALSE(handled);
    EXPECT_FALSE(http->GetConnected());
    ++redirects;
  };
  http->Get(Url(server, "/first"));
  EXPECT_EQ(redirects, 1);
  ASSERT_EQ(server.Connections(), 2);
  EXPECT_EQ(server.Received(1), RequestHeader("GET /next HTTP/1.0"));
  EXPECT_EQ(http->RequestUrl, "/next");
  EXPECT_EQ(BodyFile(), "final");
}

TEST_F(HttpRedirect, BareNameLocationIsMadeAbsoluteOnTheSameServer) {
  ScriptedServer server({Answer(Moved("next.txt")), Answer(kOk)});
  http->Get(Url(server, "/dir/first"));
  ASSERT_EQ(server.Connections(), 2);
  EXPECT_EQ(server.Received(1), RequestHeader("GET /next.txt HTTP/1.0"));
  EXPECT_EQ(http->RequestUrl, Url(server, "/next.txt"));
}

TEST_F(HttpRedirect, MissingLocationReusesTheLastOneOrTheServerRoot) {
  ScriptedServer server(
      {Answer(Moved("")), Answer(kOk), Answer(Moved("/kept")), Answer(kOk), Answer(Moved("")), Answer(kOk)});
  http->Get(Url(server, "/a"));  // no location was ever received: the root
  EXPECT_EQ(server.Received(1), RequestHeader("GET / HTTP/1.0"));
  http->Get(Url(server, "/b"));
  EXPECT_EQ(server.Received(3), RequestHeader("GET /kept HTTP/1.0"));
  http->Get(Url(server, "/c"));  // the location of an earlier answer
  EXPECT_EQ(server.Received(5), RequestHeader("GET /kept HTTP/1.0"));
}

TEST_F(HttpRedirect, CookieOfARedirectIsCarriedAndKept) {
  ScriptedServer server({Answer(Moved("/next", "Set-Cookie: id=42\r\n")), Answer(kOk),
                         Answer("HTTP/1.0 200 OK\r\nSet-Cookie: other=1\r\n\r\n"), Answer(kOk)});
  http->Get(Url(server, "/login"));
  EXPECT_EQ(server.Received(0), RequestHeader("GET /login HTTP/1.0"));
  EXPECT_EQ(server.Received(1), RequestHeader("GET /next HTTP/1.0", "127.0.0.1", "Cookie: id=42\r\n"));
  EXPECT_EQ(http->HeaderInfo->Cookie, "id=42");
  http->Get(Url(server, "/page"));
  http->Get(Url(server, "/again"));  // the 200's cookie is not sent back
  EXPECT_EQ(server.Received(3), RequestHeader("GET /again HTTP/1.0", "127.0.0.1", "Cookie: id=42\r\n"));
}

TEST_F(HttpRedirect, HandledStopsAfterTheFirstAnswer) {
  ScriptedServer server({Answer(Moved("/next")), Answer(kOk)});
  http->OnRedirect = [](bool& handled) { handled = true; };
  http->Get(Url(server, "/first"));
  EXPECT_EQ(server.Connections(), 1);
  EXPECT_EQ(BodyFile(), "moved body");
  EXPECT_EQ(http->RequestUrl, "/next");
  EXPECT_EQ(http->GetReplyNumber(), 302);
}

TEST_F(HttpRedirect, SecureLocationRaisesAfterTheFirstExchange) {
  ScriptedServer server({Answer(Moved("https://h/x")), Answer(kOk)});
  try {
    http->Get(Url(server, "/first"));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "HTTP Secure Socket is not supported");
  }
  EXPECT_EQ(server.Connections(), 1);
  EXPECT_EQ(BodyFile(), "moved body");
  EXPECT_FALSE(http->GetConnected());
}

TEST_F(HttpRedirect, TwentyAreFollowedTheNextOneRaises) {
  ScriptedServer server({Answer(Moved("/loop"))});
  int redirects = 0;
  http->OnRedirect = [&](bool&) { ++redirects; };
  try {
    http->Get(Url(server, "/loop"));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Too many redirects");
  }
  EXPECT_EQ(server.Connections(), 21);
  EXPECT_EQ(redirects, 21);
  EXPECT_FALSE(http->GetConnected());

  // The count starts again with each request.
  ScriptedServer shorter({Answer(Moved("/b")), Answer(Moved("/c")), Answer(kOk)});
  http->Get(Url(shorter, "/a"));
  EXPECT_EQ(shorter.Connections(), 3);
}

TEST_F(HttpRedirect, OtherRedirectStatusesEndTheExchangeAfterTheirEvents) {
  struct Case {
    int status;
    int redirectEvents;
  };
  for (const Case c : {Case{303, 1}, Case{304, 1}, Case{398, 1}, Case{399, 0}, Case{299, 0}}) {
    SCOPED_TRACE(c.status);
    ScriptedServer server({Answer("HTTP/1.0 " + std::to_string(c.status) + " X\r\nSet-Cookie: s=" +
                                  std::to_string(c.status) + "\r\nLocation: /elsewhere\r\n\r\nbody"),
                           Answer(kOk)});
    int redirects = 0, successes = 0, failures = 0;
    http->HeaderInfo->Cookie.clear();
    http->OnRedirect = [&](bool&) { ++redirects; };
    http->OnSuccess = [&](CmdType) { ++successes; };
    http->OnFailure = [&](CmdType) { ++failures; };
    const std::string url = Url(server, "/p");
    http->Get(url);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(redirects, c.redirectEvents);
    EXPECT_EQ(successes + failures, 0);
    EXPECT_EQ(http->RequestUrl, url);
    EXPECT_EQ(http->HeaderInfo->Cookie, c.redirectEvents ? "s=" + std::to_string(c.status) : "");
    EXPECT_EQ(BodyFile(), "body");
  }
}
