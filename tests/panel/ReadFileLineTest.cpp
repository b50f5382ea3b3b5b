#include "panel/ReadFileLine.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace {

class ReadFileLineTest : public ::testing::Test {
protected:
  void SetUp() override {
    path_ = std::filesystem::path(::testing::TempDir()) / ("ravolin_lines_" + std::to_string(getpid()) + ".ini");
  }
  void TearDown() override { std::filesystem::remove(path_); }

  void Write(const std::string& contents) const { std::ofstream(path_, std::ios::binary) << contents; }
  std::string Line(int index) const { return ReadFileLine(path_.string(), index); }

  std::filesystem::path path_;
};

TEST_F(ReadFileLineTest, SelectsTheFirstThreeLinesAndTheFourthForEveryOtherIndex) {
  for (const char* contents : {"7050\n0\nSSB\nARX\n", "7050\r\n0\r\nSSB\r\nARX\r\n", "7050\n0\nSSB\nARX\nmore\n"}) {
    Write(contents);
    EXPECT_EQ(Line(0), "7050");
    EXPECT_EQ(Line(1), "0");
    EXPECT_EQ(Line(2), "SSB");
    for (int index : {3, 4, 9, -1, INT32_MIN, INT32_MAX}) EXPECT_EQ(Line(index), "ARX") << index;
  }
}

TEST_F(ReadFileLineTest, LinesPastTheEndOfTheFile) {
  Write("7050\n0\nSSB\nARX");
  EXPECT_EQ(Line(3), "ARX");
  Write("7050\n0\nSSB\n");
  EXPECT_EQ(Line(3), "");
  Write("7050\n0\nSSB");  // the last line repeats
  EXPECT_EQ(Line(2), "SSB");
  EXPECT_EQ(Line(3), "SSB");
  Write("7050");
  EXPECT_EQ(Line(1), "7050");
  Write("7050\n\n");
  EXPECT_EQ(Line(1), "");
  EXPECT_EQ(Line(2), "");
  Write("");
  for (int index : {0, 1, 2, 3}) EXPECT_EQ(Line(index), "");
}

TEST_F(ReadFileLineTest, AFileThatCannotBeOpenedReadsAsZero) {
  for (int index : {0, 1, 2, 3}) EXPECT_EQ(Line(index), "0");
  std::filesystem::create_directory(path_);
  EXPECT_EQ(Line(0), "0");
}

TEST_F(ReadFileLineTest, KeepsAt127CharactersAndStopsAfterALongerLine) {
  const std::string exact(127, 'a');
  Write(exact + "\nsecond\n");
  EXPECT_EQ(Line(0), exact);
  EXPECT_EQ(Line(1), "second");
  Write(exact + "\r\nsecond\n");
  EXPECT_EQ(Line(0), exact);
  EXPECT_EQ(Line(1), "second");

  const std::string longer = std::string(127, 'b') + std::string(73, 'c');
  Write(longer + "\nsecond\nthird\nfourth\n");
  for (int index : {0, 1, 2, 3}) EXPECT_EQ(Line(index), std::string(127, 'b')) << index;
}

TEST_F(ReadFileLineTest, CarriageReturnsElsewhereStayAndAZeroByteEndsTheText) {
  Write("a\rb\n\r\r\nx\ry");
  EXPECT_EQ(Line(0), "a\rb");
  EXPECT_EQ(Line(1), "\r");
  EXPECT_EQ(Line(2), "x\ry");
  Write(
      std::string("70\0"
                  "50\nnext\n",
                  11));
  EXPECT_EQ(Line(0), "70");
  EXPECT_EQ(Line(1), "next");
}

TEST_F(ReadFileLineTest, SeesAFileRewrittenBetweenCalls) {
  Write("7050\n");
  EXPECT_EQ(Line(0), "7050");
  Write("14200\n");
  EXPECT_EQ(Line(0), "14200");
}

}  // namespace
