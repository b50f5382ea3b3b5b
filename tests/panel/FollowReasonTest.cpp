// What the follow mode takes for a good answer, and what it tells the
// operator on stderr when it stops and starts working.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/FollowReason.h"
#include "panel/FollowReport.h"

namespace {

using follow::StatusOfHeader;

TEST(StatusOfHeader, ReadsTheCodeWithOrWithoutAReasonPhrase) {
  EXPECT_EQ(StatusOfHeader("HTTP/1.0 200 OK\r\nServer: x\r\n\r\n"), 200);
  EXPECT_EQ(StatusOfHeader("HTTP/1.0 200\r\n\r\n"), 200);
  EXPECT_EQ(StatusOfHeader("HTTP/1.1 204\n\n"), 204);
  EXPECT_EQ(StatusOfHeader("HTTP/1.0 404 Not Found\r\n"), 404);
  EXPECT_EQ(StatusOfHeader("HTTP/1.0 302"), 302);
}

TEST(StatusOfHeader, NoStatusInAnythingButAnHttpStatusLine) {
  for (const char* header :
       {"", "\r\n", "garbage\r\n\r\n", "ICY 200 OK\r\n", "HTTP/1.0\r\n", "HTTP/1.0 20\r\n", "HTTP/1.0 2000\r\n",
        "HTTP/1.0 2x0 OK\r\n", "HTTP/1.0  200 OK\r\n", "X: HTTP/1.0 200 OK\r\n", "Server: a\r\nHTTP/1.0 200 OK\r\n"})
    EXPECT_EQ(StatusOfHeader(header), std::nullopt) << header;
}

TEST(FollowReason, OnlyTwoHundredsAreGoodAndTheReasonsReadAsTheOperatorSeesThem) {
  EXPECT_TRUE(follow::IsGoodStatus(200));
  EXPECT_TRUE(follow::IsGoodStatus(299));
  for (int status : {100, 199, 300, 302, 304, 401, 404, 500}) EXPECT_FALSE(follow::IsGoodStatus(status)) << status;
  EXPECT_EQ(follow::StatusReason(404), "status 404");
  EXPECT_EQ(follow::TooLongReason(65536), "answer longer than 65536 bytes");
  EXPECT_EQ(follow::DeadlineReason(10000), "no complete answer within 10 s");
  EXPECT_EQ(follow::DeadlineReason(300), "no complete answer within 0.3 s");
  EXPECT_EQ(follow::DeadlineReason(1500), "no complete answer within 1.5 s");
}

TEST(FollowReport, OneLineWhenFollowingStopsWorkingAndOneWhenItWorksAgain) {
  std::vector<std::string> lines;
  FollowReport report([&](const std::string& line) { lines.push_back(line); });
  const std::string url = "http://station/freq.ini";
  report.Worked(url);  // working from the start: nothing to say
  report.Failed(url, "status 404");
  report.Failed(url, "status 404");
  report.Failed(url, "10054:Connection reset by peer");  // still failing
  report.Worked(url);
  report.Worked(url);
  report.Failed(url, "Connection Failed");
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "ravolin: following http://station/freq.ini failed: status 404",
                       "ravolin: following http://station/freq.ini works again",
                       "ravolin: following http://station/freq.ini failed: Connection Failed",
                   }));
}

}  // namespace
