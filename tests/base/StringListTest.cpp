#include "base/StringList.h"

#include <gtest/gtest.h>

#include "base/Exception.h"

TEST(StringList, KeepsOrderUnlessSorted) {
  TStringList l;
  l.Add("b");
  l.Add("A");
  l.Insert(0, "c");
  EXPECT_EQ(l.Text(), "c\r\nb\r\nA\r\n");
  l.SetSorted(true);
  EXPECT_EQ(l.Text(), "A\r\nb\r\nc\r\n");
  EXPECT_EQ(l.Add("B2"), 2);
  EXPECT_EQ(l.IndexOf("b2"), 2);
  l.Delete(0);
  EXPECT_EQ(l.Count(), 3);
  EXPECT_THROW(l.Strings(3), ERangeError);
}
