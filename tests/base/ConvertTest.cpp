#include "base/Convert.h"

#include <gtest/gtest.h>

#include "base/Exception.h"

TEST(StrToInt, AcceptsDecimalWithSignAndLeadingSpaces) {
  EXPECT_EQ(StrToInt("7050"), 7050);
  EXPECT_EQ(StrToInt("  14200"), 14200);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("-1"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("007"), 7);
}

TEST(StrToInt, AcceptsEveryHexadecimalPrefixAsA32BitPattern) {
  EXPECT_EQ(StrToInt("$ff"), 255);
  EXPECT_EQ(StrToInt("x1A"), 26);
  EXPECT_EQ(StrToInt("X1a"), 26);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("0X10"), 16);
  EXPECT_EQ(StrToInt(" $FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
}

TEST(StrToInt, RejectsWhatIsNotAnIntegerWithTheTextInTheMessage) {
  for (const char* bad : {"", " ", "+", "-", "$", "0x", "abc", "12 ", "1a", "\t1", "2147483648", "-2147483649",
                          "$100000000", "+$1", "-0x1", "1.5"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
    }
  }
  EXPECT_FALSE(TryStrToInt("12 ").has_value());
}

TEST(IntToStr, IsPlainDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-1), "-1");
  EXPECT_EQ(IntToStr(100000), "100000");
  EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
}
