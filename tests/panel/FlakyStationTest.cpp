// The follow mode against a station server that misbehaves the way servers
// on the internet do, through the real message loop and real loopback
// peers: the radio is told nothing wrong, "freq.ini" stays byte for byte
// the last good answer, no part file is left, stderr says once what went
// wrong and once that it works again, and the next good answer is followed
// within two ticks.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <ostream>
#include <thread>

#include "panel/PanelState.h"
#include "tests/panel/LoopTicks.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/ScriptedServer.h"

namespace {

using namespace testsupport;
using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

constexpr std::uint32_t kDeadlineMs = 1000;
const char kDeadlineReason[] = "no complete answer within 1 s";
const char kRequestEnd[] = "\r\n\r\n";
const char kOk[] = "HTTP/1.0 200 OK\r\n";
const char kStationBefore[] = "7050\n0\nSSB\n1\n";
const char kStationAfter[] = "14200\n3\nAM\n1\n";

Script Answer(const std::string& body) { return {Expect(kRequestEnd), Send(kOk + std::string("\r\n") + body)}; }

std::string UrlOf(const ScriptedServer& server) {
  return "http://127.0.0.1:" + std::to_string(server.Port()) + "/freq.ini";
}

struct Fault {
  const char* name;
  Script script;       // each hostile answer
  std::string reason;  // what stderr says
};

std::ostream& operator<<(std::ostream& out, const Fault& fault) { return out << fault.name; }

class FlakyStation : public PanelTest, public ::testing::WithParamInterface<Fault> {
protected:
  // host.ini names the server; the panel starts with it.
  void StartFollowing(const ScriptedServer& server) {
    WriteFile("host.ini", UrlOf(server) + "\n");
    StartPanel();
    form.FetchBounds.deadlineMs = kDeadlineMs;
  }
  LoopTicks ticks{form};
};

// Two hostile answers in a row: one on its own, one after the operator
// pressed "+", which the tick after it must undo from the last good file.
TEST_P(FlakyStation, KeepsTheLastGoodStationAndFollowsTheNextGoodAnswer) {
  const Fault& fault = GetParam();
  ScriptedServer server({Answer(kStationBefore), fault.script, fault.script, Answer(kStationAfter)});
  StartFollowing(server);
  ::testing::internal::CaptureStderr();

  ASSERT_TRUE(ticks.Run(1));
  ASSERT_EQ(view.panels[1], "7050,0");
  ASSERT_EQ(ArxOn, 1);
  const auto expectTheLastGoodStation = [&] {
    EXPECT_EQ(view.panels[0], "Not connect");
    EXPECT_EQ(view.panels[1], "7050,0");
    EXPECT_EQ(view.panels[2], "SSB");
    EXPECT_EQ(view.panels[3], "ARX");
    EXPECT_EQ(ReadFile("freq.ini"), kStationBefore);
    EXPECT_EQ(FilesHere(), (std::set<std::string>{"freq.ini", "host.ini"}));
  };

  ClearLog();
  ASSERT_TRUE(ticks.Run(1));
  expectTheLastGoodStation();
  EXPECT_TRUE(Told().empty()) << ::testing::PrintToString(Told());

  form.RunHandler([&] { form.Button20Click(nullptr); });
  EXPECT_EQ(Tunings(), Strings{"7051 kHz SSB"});
  ClearLog();
  ASSERT_TRUE(ticks.Run(1));
  expectTheLastGoodStation();
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(Tunings(), Strings{"7050 kHz SSB"});
  EXPECT_EQ(Told().size(), 2u) << ::testing::PrintToString(Told());  // frequency and mode, nothing else
  EXPECT_EQ(ArxOn, 1);

  ClearLog();
  EXPECT_GT(ticks.RunUntil([&] { return view.panels[1] == "14200,3"; }, 2), 0);
  EXPECT_NE(view.panels[0], "Not connect");
  EXPECT_EQ(ReadFile("freq.ini"), kStationAfter);
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  EXPECT_EQ(FilesHere(), (std::set<std::string>{"freq.ini", "host.ini"}));

  const std::string url = UrlOf(server);
  EXPECT_EQ(FollowLines(::testing::internal::GetCapturedStderr()),
            (Strings{"ravolin: following " + url + " failed: " + fault.reason,
                     "ravolin: following " + url + " works again"}));
  // A tick that came due during a fetch started no second one.
  EXPECT_EQ(server.Connections(), ticks.Completed());
  EXPECT_TRUE(view.errorBoxes.empty());
}

const std::string kHtml =
    "<html>\r\n<head><title>404 Not Found</title></head>\r\n<body>\r\n<h1>Not Found</h1>\r\n</body>\r\n</html>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, FlakyStation,
    ::testing::Values(
        Fault{"DiesMidAnswer",
              {Expect(kRequestEnd), Send(kOk + std::string("\r\n142")), Reset()},
              "10054:Connection reset by peer"},
        Fault{"ErrorPage",
              {Expect(kRequestEnd), Send("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n" + kHtml)},
              "status 404"},
        Fault{
            "ErrorPageWithoutReasonPhrase", {Expect(kRequestEnd), Send("HTTP/1.0 503\r\n\r\n" + kHtml)}, "status 503"},
        Fault{
            "HeaderLinesWithoutEnd", {Expect(kRequestEnd), Send(kOk), Trickle("X-Wait: 1\r\n", 50ms)}, kDeadlineReason},
        Fault{"BodyTrickling",
              {Expect(kRequestEnd), Send(kOk + std::string("\r\n7")), Trickle("0", 50ms)},
              kDeadlineReason},
        Fault{"BodyWithoutEnd",
              {Expect(kRequestEnd), Send(kOk + std::string("\r\n")), Flood(std::string(16384, '7'))},
              "answer longer than 65536 bytes"}),
    [](const ::testing::TestParamInfo<Fault>& param) { return std::string(param.param.name); });

// Another program reading "freq.ini" while the panel follows a station that
// keeps changing sees one answer or the other, whole, every time.
class FollowFileReader : public PanelTest {};

TEST_F(FollowFileReader, NeverSeesAPartialFile) {
  constexpr int kFetches = 150;
  // Large enough to take several writes, small enough to be under the cap.
  const std::string one = "7050\n0\nSSB\n1\n" + std::string(40000, '#') + "\n";
  const std::string two = "14200\n3\nAM\n0\n" + std::string(20000, '%') + "\n";
  std::vector<Script> answers;
  for (int i = 0; i < kFetches; ++i) answers.push_back(Answer(i % 2 == 0 ? one : two));
  ScriptedServer server(answers);
  WriteFile("host.ini", UrlOf(server) + "\n");
  WriteFile("freq.ini", two);
  StartPanel();

  std::atomic<bool> done{false};
  std::atomic<int> seenOne{0}, seenTwo{0}, partial{0};
  std::thread reader([&] {
    while (!done) {
      std::ifstream in("freq.ini", std::ios::binary);
      if (!in) continue;
      const std::string seen{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      ++(seen == one ? seenOne : seen == two ? seenTwo : partial);
    }
  });
  for (int i = 0; i < kFetches; ++i) form.Timer1Timer(nullptr);
  done = true;
  reader.join();

  EXPECT_EQ(partial, 0);
  // Both answers were seen, so the file was replaced while it was being read.
  // (On Windows a replacement fails while the reader has the file open; that
  // fetch then counts as failed and the file stays whole.)
  EXPECT_GT(seenOne, 0);
  EXPECT_GT(seenTwo, 0);
  EXPECT_EQ(server.Connections(), kFetches);
  const std::string last = ReadFile("freq.ini");
  EXPECT_TRUE(last == one || last == two);
}

}  // namespace
