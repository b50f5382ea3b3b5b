#include "panel/ErrorReport.h"

#include <gtest/gtest.h>

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithOneCapital) {
  EXPECT_EQ(ApplicationTitle("ravolin"), "Ravolin");
  EXPECT_EQ(ApplicationTitle("/usr/local/bin/ravolin"), "Ravolin");
  EXPECT_EQ(ApplicationTitle("./RAVOLIN.exe"), "Ravolin");
  EXPECT_EQ(ApplicationTitle("/opt/x.y/raVolin.tar.gz"), "Ravolin");
  EXPECT_EQ(ApplicationTitle("/opt/.hidden"), "");
}

TEST(ErrorBoxText, AppendsADotUnlessTheLastCharacterIsADotOrLower) {
  EXPECT_EQ(ErrorBoxText("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(ErrorBoxText("line\n"), "line\n");
  EXPECT_EQ(ErrorBoxText("a-"), "a-");
  EXPECT_EQ(ErrorBoxText("a/"), "a/.");
  EXPECT_EQ(ErrorBoxText("\xD0\xB0"), "\xD0\xB0.");  // bytes above 127 count as high
  EXPECT_EQ(ErrorBoxText(""), "");
}
