// Both servers started from serve.ini in the running panel code: what they
// say on stderr, a server that can't start leaving the other on, and the
// state feed to real clients reporting what the rig-control port set.
#include <cstdio>

#include "tests/serve/ServersFixture.h"

namespace {

namespace lb = testsupport::loopback;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ServersTest, WithoutServeIniNothingListensAndNothingIsSaid) {
  EXPECT_EQ(Start(nullptr), "");
  EXPECT_EQ(servers->Feed(), nullptr);
  EXPECT_EQ(servers->Rig(), nullptr);
}

TEST_F(ServersTest, ABadLineOrATakenPortLeavesOnlyThatServerOff) {
  std::uint16_t taken = 0;
  const int holder = lb::BoundSocket(taken);
  ASSERT_TRUE(lb::Listen(holder, 1));
  const std::string said = Start(("127.0.0.1:99999\n" + Loopback(taken) + "\n").c_str());
  lb::CloseSocket(holder);
  EXPECT_TRUE(Has(said, "ravolin: serve.ini line 0: '127.0.0.1:99999'")) << said;
  EXPECT_TRUE(Has(said, "ravolin: the rig-control port can't listen on " + Loopback(taken))) << said;
  EXPECT_EQ(servers->Feed(), nullptr);
  EXPECT_EQ(servers->Rig(), nullptr);

  servers.reset();
  const std::string again = Start(("\n" + Loopback(rigPort) + "\n").c_str());
  EXPECT_EQ(again, "ravolin: rig-control port listening on " + Loopback(rigPort) + "\n");
  EXPECT_EQ(servers->Feed(), nullptr);
  ASSERT_NE(servers->Rig(), nullptr);
  EXPECT_EQ(Exchange(rigPort, "f\nq\n").bytes, "7050000\nRPRT 0\n");
}

// What a rig-control client sets, a follower reads from the feed.
TEST_F(ServersTest, TheFeedReportsWhatTheRigControlPortSet) {
  StartBoth();
  const testsupport::ClientReply set = Exchange(rigPort, "F 14200300\nM AM 0\nq\n");
  EXPECT_EQ(set.bytes, "RPRT 0\nRPRT 0\nRPRT 0\n");
  EXPECT_TRUE(set.closed);
  const testsupport::ClientReply feed = Exchange(feedPort, "GET /freq.ini HTTP/1.0\r\n\r\n");
  EXPECT_TRUE(feed.closed);
  EXPECT_TRUE(Has(feed.bytes, "HTTP/1.0 200 OK\r\n")) << feed.bytes;
  EXPECT_TRUE(feed.bytes.ends_with("\r\n\r\n14200\n3\nAM\n0\n")) << feed.bytes;
}

// A satellite tracker takes each answer in one receive of at most 127
// bytes: every answer must leave in one write, whole, and be that small.
TEST_F(ServersTest, ATrackerGetsEachAnswerInOneReceive) {
  StartBoth();
  std::vector<std::string> answers;
  Serve([&] {
    const int fd = lb::ConnectLoopback(rigPort);
    for (const char* line : {"\\set_vfo_opt 1\n", "F currVFO 14200300\n", "+f currVFO\n", "m VFOA\n", "q\n"}) {
      testsupport::SendAll(fd, line);
      answers.push_back(testsupport::ReadUntil(fd, [](const std::string& got) { return !got.empty(); }).bytes);
      EXPECT_LE(answers.back().size(), 127u) << line;
    }
    lb::CloseSocket(fd);
  });
  EXPECT_EQ(answers,
            (std::vector<std::string>{"RPRT 0\n", "RPRT 0\n", "get_freq: currVFO\nFrequency: 14200300\nRPRT 0\n",
                                      "USB\n2700\n", "RPRT 0\n"}));
}

#ifndef _WIN32
// curl, on a thread of its own while the loop serves it: what it printed.
std::string Curl(const std::string& arguments) {
  std::string output;
  testsupport::BackgroundTask task([&] {
    std::FILE* pipe = popen(("curl -s --max-time 20 " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
  });
  EXPECT_TRUE(testsupport::PumpUntil([&] { return task.Done(); }, std::chrono::seconds(30))) << arguments;
  return output;
}

TEST_F(ServersTest, CurlReadsTheFeedAndGetsTheRightStatusForEveryOtherRequest) {
  StartBoth();
  const std::string base = "http://" + Loopback(feedPort);
  const std::string get = Curl("-i " + base + "/freq.ini");
  EXPECT_TRUE(get.starts_with("HTTP/1.0 200 OK\r\n")) << get;
  EXPECT_TRUE(Has(get, "\r\nContent-Type: text/plain\r\n")) << get;
  EXPECT_TRUE(Has(get, "\r\nContent-Length: 13\r\n")) << get;
  EXPECT_TRUE(get.ends_with("\r\n\r\n7050\n0\nSSB\n0\n")) << get;

  const std::string head = Curl("-I " + base + "/freq.ini");
  EXPECT_TRUE(head.starts_with("HTTP/1.0 200 OK\r\n")) << head;
  EXPECT_TRUE(head.ends_with("Connection: close\r\n\r\n")) << head;

  const std::string status = "-o /dev/null -w '%{http_code}' ";
  EXPECT_EQ(Curl(status + base + "/other.ini"), "404");
  EXPECT_EQ(Curl(status + "-X POST " + base + "/freq.ini"), "405");
  EXPECT_EQ(Curl(status + "--request-target freq.ini " + base + "/"), "400");
}
#endif

}  // namespace
