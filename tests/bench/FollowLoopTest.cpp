// The follow runner behind the soak and the idle figure: its "no errors"
// only means something if a failing server shows as errors.
#include <gtest/gtest.h>

#include "bench/follow_loop.h"
#include "tests/support/ScriptedServer.h"

namespace {

using namespace testsupport;

// Three ticks, so that the last descriptor count is a later sample than the
// first; the time limit only ends a run whose ticks stall.
constexpr int kTicks = 3;
constexpr int kLimitSeconds = 30;

std::string UrlOf(std::uint16_t port) { return "http://127.0.0.1:" + std::to_string(port) + "/freq.ini"; }

TEST(FollowLoop, TicksAgainstAGoodServerWithoutErrorsOrLeftoverDescriptors) {
  ScriptedServer server({{Expect("\r\n\r\n"), Send("HTTP/1.0 200 OK\r\n\r\n7010\n5\nSSB\n1\n"), Close()}});
  const bench::FollowFigures f = bench::RunFollow(UrlOf(server.Port()), kLimitSeconds, kTicks);
  EXPECT_EQ(f.ticks, kTicks);
  EXPECT_EQ(server.Connections(), f.ticks);
  EXPECT_EQ(f.notConnected, 0);
  EXPECT_EQ(f.errorBoxes, 0);
  EXPECT_EQ(f.fdsFirst, f.fdsLast);
  EXPECT_GT(f.rssFirstKiB, 0);
  EXPECT_GT(f.wallSeconds, 0);
}

TEST(FollowLoop, EveryTickAgainstARefusingServerCountsAsAnError) {
  RefusingPort refusing;
  const bench::FollowFigures f = bench::RunFollow(UrlOf(refusing.Port()), kLimitSeconds, kTicks);
  EXPECT_EQ(f.ticks, kTicks);
  EXPECT_EQ(f.notConnected, f.ticks);
  EXPECT_EQ(f.errorBoxes, 0);
}

}  // namespace
