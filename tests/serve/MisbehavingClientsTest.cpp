// Clients that misbehave all at once against both servers in the running
// panel code, while Timer1 ticks on the message loop: garbage, binary bytes,
// endless lines, a client that never reads, a hundred clients at once,
// clients that vanish mid-answer. Nothing crashes, every tick still comes,
// the servers hold little memory, and a well-behaved client is served
// throughout.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "tests/panel/LoopTicks.h"
#include "tests/serve/ServersFixture.h"

namespace {

namespace lb = testsupport::loopback;
using testsupport::BackgroundTask;
using testsupport::ClientReply;
using Clock = std::chrono::steady_clock;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ServersTest, MisbehavingClientsStallNeitherTheWindowNorTheOtherClients) {
  StartBoth();
  // The state each tick follows: the one the panel starts in.
  WriteFile("freq.ini", "7050\n0\nSSB\n0\n");
  LoopTicks ticks{form};
  const std::uint16_t rig = rigPort;
  const std::uint16_t feed = feedPort;
  std::atomic<bool> stop{false};
  std::vector<std::string> faults;  // written by the tasks only before Done()
  std::vector<std::unique_ptr<BackgroundTask>> tasks;
  const auto start = [&](std::function<std::string()> work) {
    const std::size_t slot = faults.size();
    faults.emplace_back();
    tasks.push_back(std::make_unique<BackgroundTask>([&, slot, work = std::move(work)] { faults[slot] = work(); }));
  };

  // Never reads the answers to a flood of commands; leaves at the end.
  start([&] {
    const int fd = lb::ConnectLoopback(rig);
    const std::string commands = [] {
      std::string text;
      for (int i = 0; i < 4096; ++i) text += "\\dump_state\n";
      return text;
    }();
    lb::StopChannel never = lb::OpenStopChannel();
    for (std::size_t at = 0; !stop;) {
      const long sent = lb::SendSome(fd, commands.data() + at, commands.size() - at, true);
      if (sent < 0) break;
      at = (at + static_cast<std::size_t>(sent)) % commands.size();
      if (sent == 0) lb::WaitReady(fd, true, never.readEnd, 50);  // until the server reads again, or a look at stop
    }
    lb::CloseStopChannel(never);
    lb::CloseSocket(fd);
    return std::string();
  });
  // Garbage and binary bytes to both; each rig-control line is refused.
  start([&] {
    std::string binary;
    for (int i = 0; i < 65536; ++i) binary += static_cast<char>(i * 7);
    testsupport::Exchange(feed, binary);
    const ClientReply garbage = testsupport::Exchange(rig, "garbage\n" + binary + "\n\x01\x02zz\nq\n");
    return Has(garbage.bytes, "RPRT -4\n") && garbage.bytes.ends_with("RPRT 0\n") ? "" : "garbage: " + garbage.bytes;
  });
  // An endless line: refused once, the connection still answers after it;
  // an endless request head is dropped without an answer.
  start([&] {
    const ClientReply rigReply = testsupport::Exchange(rig, std::string(1 << 20, 'x') + "\nf\nq\n");
    const ClientReply feedReply = testsupport::Exchange(feed, "GET /freq.ini HTTP/1.0\r\nX: " + std::string(1 << 20, 'y'));
    if (rigReply.bytes != "RPRT -8\n7050000\nRPRT 0\n") return "endless line: " + rigReply.bytes;
    return feedReply.bytes.empty() ? std::string() : "endless head answered: " + feedReply.bytes;
  });
  // Vanishes mid-answer, ten times on each server.
  start([&] {
    for (int i = 0; i < 10; ++i) {
      for (const auto& [port, request] : {std::pair{rig, std::string(2000, '1') + "\n\\dump_state\n\\dump_state\n"},
                                          std::pair{feed, std::string("GET /freq.ini HTTP/1.0\r\n\r\n")}}) {
        const int fd = lb::ConnectLoopback(port);
        testsupport::SendAll(fd, request);
        testsupport::ReadUntil(fd, [](const std::string& got) { return !got.empty(); });
        lb::SetResetOnClose(fd);
        lb::CloseSocket(fd);
      }
    }
    return std::string();
  });
  // A hundred rig-control clients at once, each asking for the frequency.
  start([&] {
    std::vector<int> clients;
    for (int i = 0; i < 100; ++i) clients.push_back(lb::ConnectLoopback(rig));
    for (const int fd : clients) testsupport::SendAll(fd, "f\n");
    std::string wrong;
    for (const int fd : clients) {
      const ClientReply reply = testsupport::ReadUntil(fd, [](const std::string& got) { return got.ends_with("\n"); });
      if (reply.bytes != "7050000\n") wrong += "[" + reply.bytes + "]";
      lb::CloseSocket(fd);
    }
    return wrong.empty() ? std::string() : "a hundred clients: " + wrong;
  });

  const auto allDone = [&] {
    return std::all_of(tasks.begin() + 1, tasks.end(), [](const auto& task) { return task->Done(); });
  };
  // The flood has filled the socket buffers and the server's output cap:
  // reading from it has paused.
  const std::size_t unsentCap = 64 * 1024;
  std::size_t mostHeld = 0;
  Clock::duration longestTick{};
  int wellServed = 0;
  const Clock::time_point began = Clock::now();
  while (!allDone() || mostHeld < unsentCap) {
    ASSERT_LT(Clock::now() - began, std::chrono::seconds(60)) << "most held " << mostHeld;
    const Clock::time_point before = Clock::now();
    ASSERT_TRUE(ticks.Run(1));
    longestTick = std::max(longestTick, Clock::now() - before);
    mostHeld = std::max(mostHeld, servers->Rig()->BytesHeld() + servers->Feed()->BytesHeld());
    // A well-behaved client of each server, served in the crowd.
    if (wellServed < 3) {
      ClientReply rigReply, feedReply;
      Serve([&] {
        rigReply = testsupport::Exchange(rig, "f\nq\n");
        feedReply = testsupport::Exchange(feed, "GET /freq.ini HTTP/1.0\r\n\r\n");
      });
      EXPECT_EQ(rigReply.bytes, "7050000\nRPRT 0\n");
      EXPECT_TRUE(feedReply.bytes.ends_with("\r\n\r\n7050\n0\nSSB\n0\n")) << feedReply.bytes;
      ++wellServed;
    }
  }
  stop = true;
  EXPECT_TRUE(testsupport::PumpUntil([&] { return tasks.front()->Done(); }, std::chrono::seconds(30)));
  tasks.clear();
  for (const std::string& fault : faults) EXPECT_EQ(fault, "");

  // A tick runs every 20 ms; a stalled loop would show as one that waits
  // for seconds.
  EXPECT_LT(longestTick, std::chrono::seconds(2));
  // Each connection holds at most its output cap and one read's answers.
  EXPECT_LT(mostHeld, std::size_t{1} << 20);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return servers->Rig()->Connections() + servers->Feed()->Connections() == 0; }));
  EXPECT_EQ(Exchange(rig, "f\nq\n").bytes, "7050000\nRPRT 0\n");
}

}  // namespace
