#include "tests/stress/HostileCases.h"

#include "http/NMHttp.h"

using namespace testsupport;

namespace stresstest {

namespace {

const char kRequestEnd[] = "\r\n\r\n";

std::string Repeated(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::string Url(std::uint16_t port, const std::string& path = "/freq.ini") {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

// A fetch that raises; body: the body file afterwards, none when untouched.
// The follow step reports what was raised unless it cut the fetch short.
HostileCase Fails(std::string name, Script script, std::string raised, std::optional<std::string> body = {},
                  std::string followReason = {}) {
  HostileCase c;
  c.name = std::move(name);
  c.script = std::move(script);
  c.followReason = followReason.empty() ? raised : std::move(followReason);
  c.raised = std::move(raised);
  c.body = std::move(body);
  return c;
}

// A fetch that returns with a status and the body saved; followReason:
// why the follow step refuses the answer, empty when it follows it.
HostileCase Returns(std::string name, Script script, std::string body, int status, std::string followReason = {}) {
  HostileCase c;
  c.name = std::move(name);
  c.script = std::move(script);
  c.body = std::move(body);
  c.status = status;
  c.followReason = std::move(followReason);
  return c;
}

HostileCase Unreachable(std::string name, Peer peer, std::string raised, std::string followReason = {}) {
  HostileCase c;
  c.name = std::move(name);
  c.peer = peer;
  c.followReason = followReason.empty() ? raised : std::move(followReason);
  c.raised = std::move(raised);
  return c;
}

std::vector<HostileCase> MakeCases() {
  using namespace std::string_literals;
  const std::string ok = "HTTP/1.0 200 OK\r\n";
  const std::string remote = "3550\n5\nAM\n0\n";
  const auto afterRequest = [](Script rest) {
    rest.insert(rest.begin(), Expect(kRequestEnd));
    return rest;
  };
  std::vector<HostileCase> cases;

  cases.push_back(Fails("SilentFromTheStart", {Silent()}, "Socket readln aborted", {}, kFollowDeadlineReason));
  cases.push_back(Fails("SilentAfterTheHeader", afterRequest({Send(ok + "\r\n70"), Silent()}), "Socket send aborted",
                        "70", kFollowDeadlineReason));
  cases.push_back(Returns("ByteByByte", afterRequest({Drip(ok + "Server: slow\r\n\r\n" + remote)}), remote, 200));
  // Without a reason phrase the component reads status 0; it is still 200.
  cases.push_back(Returns("StatusWithoutReason", afterRequest({Send("HTTP/1.0 200\r\n\r\n" + remote)}), remote, 0));
  cases.push_back(Returns("NotFound",
                          afterRequest({Send("HTTP/1.0 404 Not Found\r\n\r\n<html>\n<p>not here</p>\n</html>\n")}),
                          "<html>\n<p>not here</p>\n</html>\n", 404, "status 404"));
  cases.push_back(Fails("ResetBeforeAnswering", afterRequest({Reset()}), "10054:Connection reset by peer"));
  cases.push_back(
      Fails("ResetInTheHeader", afterRequest({Send(ok + "Content-Ty"), Reset()}), "10054:Connection reset by peer"));
  cases.push_back(
      Fails("ResetInTheBody", afterRequest({Send(ok + "\r\n35"), Reset()}), "10054:Connection reset by peer", "35"));
  cases.push_back(Fails("EndlessHeader",
                        afterRequest({Send(ok), Flood(Repeated("X-Filler: 0123456789abcdef0123456789\r\n", 100))}),
                        "Response header too long"));
  cases.push_back(Fails("HeaderLineOverOneMiB",
                        afterRequest({Send(ok + "X-Long: " + std::string((1 << 20) + 16, 'a') + "\r\n\r\n" + remote)}),
                        "Range check error"));
  cases.push_back(Returns("GarbageStatusLine", afterRequest({Send("\x16\x03\x01 \xff\xfe garbage\r\n\r\n" + remote)}),
                          remote, 0, "no status line"));
  cases.push_back(Returns("NulBytesInHeaderAndBody",
                          afterRequest({Send(ok + "X-Nul: a\0b\r\n\r\n3550\0junk\n5\nAM\n0\n"s)}),
                          "3550\0junk\n5\nAM\n0\n"s, 200));
  HostileCase cycle =
      Fails("RedirectCycle", afterRequest({Send("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\nmoved")}),
            "Too many redirects", "moved");
  cycle.connections = TNMHTTP::kMaxRedirects + 1;
  cases.push_back(cycle);
  cases.push_back(Fails("RedirectToHttps",
                        afterRequest({Send("HTTP/1.0 302 Found\r\nLocation: https://127.0.0.1/\r\n\r\nsecure only")}),
                        "HTTP Secure Socket is not supported", "secure only"));
  cases.push_back(Returns(
      "Unauthorized",
      afterRequest({Send("HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n\r\nUnauthorized\n")}),
      "Unauthorized\n", 401, "status 401"));
  cases.push_back(Returns("ClosedWithoutAnswer", afterRequest({Close()}), "", 0, "no status line"));
  HostileCase endless = Fails("EndlessBody", afterRequest({Send(ok + "\r\n"), Flood(Repeated("7050\n", 800))}),
                              "Socket send aborted", "7050\n7050\n", "answer longer than 65536 bytes");
  endless.bodyIsPrefix = true;
  cases.push_back(endless);
  cases.push_back(Unreachable("Refused", Peer::Refusing, "Connection Failed"));
  cases.push_back(Unreachable("Unanswered", Peer::Unanswered, "Connection Timed out", kFollowDeadlineReason));
  cases.push_back(Unreachable("Unresolvable", Peer::Unresolvable, "Null Remote Address"));
  return cases;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const HostileCase& c) { return out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; }

const std::vector<HostileCase>& HostileCases() {
  static const std::vector<HostileCase> cases = MakeCases();
  return cases;
}

Script GoodAnswer(const std::string& body) { return {Expect(kRequestEnd), Send("HTTP/1.0 200 OK\r\n\r\n" + body)}; }

HostilePeer::HostilePeer(const HostileCase& c, const std::vector<Script>& before) {
  std::vector<Script> scripts = before;
  if (c.peer == Peer::Scripted) {
    scripts.insert(scripts.end(), static_cast<std::size_t>(c.connections), c.script);
    scripts.push_back(GoodAnswer(kGoodAfter));
    server_ = std::make_unique<ScriptedServer>(scripts);
    return;
  }
  scripts.push_back(GoodAnswer(kGoodAfter));
  good_ = std::make_unique<ScriptedServer>(scripts);
  if (c.peer == Peer::Refusing) refusing_ = std::make_unique<RefusingPort>();
  if (c.peer == Peer::Unanswered) unanswered_ = std::make_unique<UnansweredPort>();
}

HostilePeer::~HostilePeer() = default;

std::string HostilePeer::GoodUrl() const { return Url(server_ ? server_->Port() : good_->Port()); }

std::string HostilePeer::HostileUrl() const {
  if (server_) return Url(server_->Port());
  if (refusing_) return Url(refusing_->Port());
  if (unanswered_) return Url(unanswered_->Port());
  // An empty label: the resolver refuses the name itself, without asking
  // any name server.
  return "http://unresolvable..invalid/freq.ini";
}

bool IsTimeText(const std::string& text) {
  const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  for (std::size_t i = 0; i + 7 <= text.size(); ++i)
    if (digit(i) && text[i + 1] == ':' && digit(i + 2) && digit(i + 3) && text[i + 4] == ':' && digit(i + 5) &&
        digit(i + 6))
      return true;
  return false;
}

void WarmUp(TNMHTTP& http) {
  ScriptedServer server({GoodAnswer("warm")});
  http.Get(Url(server.Port()));
}

}  // namespace stresstest
