// The state feed behind nginx with the shipped configuration, as a station
// with many followers runs it: a thousand followers poll nginx once a
// second while the panel's feed sees at most a couple of requests a second,
// and a frequency set on the panel reaches every follower within 2 s.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <vector>

#include "tests/http/LocalServices.h"
#include "tests/serve/ServersFixture.h"

namespace {

namespace lb = testsupport::loopback;
using testsupport::BackgroundTask;
using Clock = std::chrono::steady_clock;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// nginx in the foreground with packaging/nginx/ravolin-feed.conf included as
// shipped, but for its cache folder, the panel's port and its own.
class FeedProxy : public httptest::LocalService {
public:
  FeedProxy(const std::string& workDir, std::uint16_t feedPort) {
    std::ifstream shippedFile(RAVOLIN_FEED_PROXY_CONF);
    std::stringstream shipped;
    shipped << shippedFile.rdbuf();
    const std::string conf = workDir + "/nginx.conf";
    Start(workDir, {httptest::ProgramPath("nginx"), "-p", workDir, "-c", conf}, conf, [&](std::uint16_t port) {
      std::string site = Replaced(shipped.str(), "/var/cache/nginx/ravolin-feed", workDir + "/cache");
      site = Replaced(site, "server 127.0.0.1:8073;", "server 127.0.0.1:" + std::to_string(feedPort) + ";");
      site = Replaced(site, "listen 8074;", "listen 127.0.0.1:" + std::to_string(port) + ";");
      std::ofstream(workDir + "/ravolin-feed.conf") << site;
      std::string c = "daemon off;\nmaster_process off;\nworker_processes 1;\n";
      if (::geteuid() == 0) c += "user root;\n";
      c += "pid " + workDir + "/nginx.pid;\nerror_log " + workDir + "/nginx-error.log;\n";
      c += "events { worker_connections 1024; }\nhttp {\n  access_log off;\n";
      for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        c += std::string("  ") + kind + "_temp_path " + workDir + "/" + kind + ";\n";
      return c + "  include " + workDir + "/ravolin-feed.conf;\n}\n";
    });
  }
};

// What the followers saw, written by their threads.
struct Sightings {
  std::mutex lock;
  std::vector<Clock::time_point> firstNew;  // per follower; epoch until seen
  Clock::time_point lastOld{};              // when the latest poll that got the old state was made
  int polls = 0;
  int failed = 0;
};

TEST_F(ServersTest, AThousandFollowersThroughNginxCostThePanelARequestASecond) {
  if (!httptest::HaveProgram("nginx")) GTEST_SKIP() << "nginx is not installed";
  StartBoth();
  FeedProxy proxy(std::filesystem::current_path().string(), feedPort);
  ASSERT_TRUE(proxy.Running()) << proxy.Log();
  const std::uint16_t port = proxy.Port();

  constexpr int kFollowers = 1000;
  constexpr int kThreads = 20;
  Sightings seen;
  seen.firstNew.resize(kFollowers);
  std::atomic<bool> changed{false};
  lb::StopChannel stop = lb::OpenStopChannel();
  std::vector<std::unique_ptr<BackgroundTask>> followers;
  for (int thread = 0; thread < kThreads; ++thread) {
    followers.push_back(std::make_unique<BackgroundTask>([&, thread] {
      // Its followers each poll once a second, spread over the second.
      for (Clock::time_point round = Clock::now();; round += std::chrono::seconds(1)) {
        for (int follower = thread; follower < kFollowers; follower += kThreads) {
          const bool after = changed;
          const Clock::time_point asked = Clock::now();
          const testsupport::ClientReply reply =
              testsupport::Exchange(port, "GET /freq.ini HTTP/1.0\r\nHost: feed\r\n\r\n");
          const Clock::time_point now = Clock::now();
          std::lock_guard hold(seen.lock);
          ++seen.polls;
          if (reply.bytes.ends_with("\r\n\r\n14200\n3\nSSB\n0\n")) {
            if (seen.firstNew[follower] == Clock::time_point{}) seen.firstNew[follower] = now;
          } else if (reply.bytes.ends_with("\r\n\r\n7050\n0\nSSB\n0\n") &&
                     reply.bytes.find("Cache-Control: no-store\r\n") != std::string::npos) {
            if (after) seen.lastOld = std::max(seen.lastOld, asked);
          } else {
            ++seen.failed;
          }
        }
        const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(round + std::chrono::seconds(1) -
                                                                                Clock::now());
        if (lb::WaitStop(stop.readEnd, static_cast<int>(std::max<long long>(rest.count(), 0)))) return;
      }
    }));
  }
  const auto polls = [&] {
    std::lock_guard hold(seen.lock);
    return seen.polls;
  };
  // Two rounds of every follower before the change, counting what reaches
  // the panel from the first.
  ASSERT_TRUE(testsupport::PumpUntil([&] { return polls() >= kFollowers; }, std::chrono::seconds(20)));
  const std::size_t panelBefore = servers->Feed()->Accepted();
  const Clock::time_point counting = Clock::now();
  ASSERT_TRUE(testsupport::PumpUntil([&] { return polls() >= 3 * kFollowers; }, std::chrono::seconds(20)));

  changed = true;
  ASSERT_EQ(Exchange(rigPort, "F 14200300\nq\n").bytes, "RPRT 0\nRPRT 0\n");
  const Clock::time_point change = Clock::now();
  const auto allSeen = [&] {
    std::lock_guard hold(seen.lock);
    return std::none_of(seen.firstNew.begin(), seen.firstNew.end(),
                        [](Clock::time_point at) { return at == Clock::time_point{}; });
  };
  EXPECT_TRUE(testsupport::PumpUntil(allSeen, std::chrono::seconds(10)));
  const int pollsAtEnd = polls();
  ASSERT_TRUE(testsupport::PumpUntil([&] { return polls() >= pollsAtEnd + kFollowers; }, std::chrono::seconds(20)));
  const double seconds = std::chrono::duration<double>(Clock::now() - counting).count();
  const std::size_t panelRequests = servers->Feed()->Accepted() - panelBefore;
  lb::Signal(stop);
  EXPECT_TRUE(testsupport::PumpUntil([&] {
    return std::all_of(followers.begin(), followers.end(), [](const auto& task) { return task->Done(); });
  }, std::chrono::seconds(20)));
  followers.clear();
  lb::CloseStopChannel(stop);

  std::lock_guard hold(seen.lock);
  const Clock::time_point lastSeen = *std::max_element(seen.firstNew.begin(), seen.firstNew.end());
  const auto ms = [&](Clock::time_point at) {
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(at - change).count());
  };
  const double panelRate = static_cast<double>(panelRequests) / seconds;
  std::printf("feed fan-out: %d followers, %d polls through nginx (%d failed); the panel saw %zu requests in %.1f s "
              "(%.2f/s); after the change the last poll answered with the old state was made at +%lld ms, the "
              "last follower had the new one at +%lld ms\n",
              kFollowers, seen.polls, seen.failed, panelRequests, seconds, panelRate,
              seen.lastOld == Clock::time_point{} ? 0LL : ms(seen.lastOld), ms(lastSeen));
  EXPECT_EQ(seen.failed, 0);
  EXPECT_LE(panelRate, 2.0);
  EXPECT_GT(panelRequests, 0u);
  // A poll made 2 s after the change or later gets the new state, but for
  // those that come while the one refresh is under way.
  EXPECT_LT(ms(seen.lastOld), 2000 + 200);
}

}  // namespace
