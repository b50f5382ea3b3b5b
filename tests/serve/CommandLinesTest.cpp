// Splitting a client's bytes into command lines, with the length cap.
#include <gtest/gtest.h>

#include "serve/CommandLines.h"

namespace {

using Strings = std::vector<std::string>;

class Splitting : public ::testing::Test {
protected:
  void Feed(std::string_view bytes) {
    lines.Feed(
        bytes, [&](std::string_view line) { seen.emplace_back(line); }, [&] { seen.emplace_back("<overlong>"); });
  }
  CommandLines lines;
  Strings seen;
};

TEST_F(Splitting, LinesEndAtLineFeedsWithOrWithoutACarriageReturnInAnyPieces) {
  const std::string stream = "f\r\n\\get_mode\nF 7050000.000000\r\n\nM AM 0\r\r\nx";
  for (char c : stream) Feed(std::string_view(&c, 1));
  EXPECT_EQ(seen, (Strings{"f", "\\get_mode", "F 7050000.000000", "", "M AM 0\r"}));
  EXPECT_EQ(lines.Pending(), 1u);  // "x" waits for its line feed
}

TEST_F(Splitting, ALineOverTheCapIsReportedOnceAndDroppedToItsLineFeed) {
  const std::size_t cap = CommandLines::kMaxLineBytes;
  Feed(std::string(cap, 'a') + "\n");
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].size(), cap);

  seen.clear();
  Feed(std::string(cap, 'b'));
  EXPECT_TRUE(seen.empty());
  Feed("b");
  EXPECT_EQ(seen, Strings{"<overlong>"});
  for (int i = 0; i < 1000; ++i) Feed(std::string(4096, 'c'));  // an endless line
  EXPECT_EQ(seen, Strings{"<overlong>"});
  EXPECT_EQ(lines.Pending(), 0u);
  Feed("still the same line\nf\n");
  EXPECT_EQ(seen, (Strings{"<overlong>", "f"}));
}

TEST_F(Splitting, StopDropsTheRestOfTheBytesAndAllLaterOnes) {
  lines.Feed(
      "f\nq\nf\n",
      [&](std::string_view line) {
        seen.emplace_back(line);
        if (line == "q") lines.Stop();
      },
      [] {});
  Feed("m\n");
  EXPECT_EQ(seen, (Strings{"f", "q"}));
  EXPECT_TRUE(lines.Stopped());
}

}  // namespace
