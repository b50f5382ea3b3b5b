// The operator's log file: stamped lines appended, the older half dropped
// past the bound at a line boundary, and a log that can't be written is
// reported to the caller, not thrown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "platform/log_file.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LogFile, AppendsStampedLinesAndDropsTheOlderHalfPastItsBound) {
  const fs::path folder = fs::path(::testing::TempDir()) / "ravolin_log_file";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path path = folder / "ravolin.log";

  platform::LogFile log(path.string(), 1000);
  ASSERT_TRUE(log.Append("ravolin: radio: first"));
  const std::string first = Read(path);
  EXPECT_TRUE(std::regex_match(first, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d ravolin: radio: first\r\n)")))
      << first;

  // Lines of 44 bytes: the file passes 1000 bytes at the 23rd, and the next
  // line finds the older half gone, the newer half whole from a line start.
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(log.Append("line " + std::to_string(100 + i) + " ............."));
  const std::string kept = Read(path);
  EXPECT_LE(kept.size(), 1000u + 44u);
  EXPECT_GE(kept.size(), 1000u / 2 - 44u);
  EXPECT_EQ(kept.find("first"), std::string::npos);
  EXPECT_NE(kept.find("line 139 "), std::string::npos);
  EXPECT_TRUE(std::regex_search(kept, std::regex(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d line 1\d\d )")));
  EXPECT_FALSE(fs::exists(path.string() + ".part"));

  // A folder that is gone: nothing written, nothing thrown.
  platform::LogFile lost((folder / "gone" / "ravolin.log").string());
  EXPECT_FALSE(lost.Append("ravolin: nobody reads this"));
  fs::remove_all(folder);
}

}  // namespace
