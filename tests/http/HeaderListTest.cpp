#include <gtest/gtest.h>

#include "http/NMExtstr.h"

TEST(HeaderList, FindsByNameBeforeTheFirstColon) {
  TExStringList l;
  EXPECT_EQ(l.IndexOfHeader("Host"), -1);
  l.Add("GET / HTTP/1.0");
  l.Add("host: a");
  l.Add("Host: b");
  l.Add(" Accept: x");
  l.Add("Cookie");
  l.Add(": empty name");
  EXPECT_EQ(l.IndexOfHeader("HOST"), 1);
  EXPECT_EQ(l.IndexOfHeader("Accept"), -1);  // no trimming
  EXPECT_EQ(l.IndexOfHeader(" accept"), 3);
  EXPECT_EQ(l.IndexOfHeader("Cookie"), -1);  // a line without a colon never matches
  EXPECT_EQ(l.IndexOfHeader(""), 5);
  EXPECT_EQ(l.IndexOfHeader("Hos"), -1);
}

TEST(HeaderList, SetHeaderReplacesAddsAndDeletes) {
  TExStringList l;
  l.Add("Host: old");
  l.SetHeader("HOST", "new");
  EXPECT_EQ(l.Text(), "HOST: new\r\n");
  l.SetHeader("From", "me");
  EXPECT_EQ(l.Text(), "HOST: new\r\nFrom: me\r\n");
  l.SetHeader("Referer", "");
  EXPECT_EQ(l.Count(), 2);
  l.SetHeader("host", "");
  EXPECT_EQ(l.Text(), "From: me\r\n");
}

TEST(HeaderList, SortedListIsSearchedByHalving) {
  TExStringList l;
  l.SetSorted(true);
  EXPECT_EQ(l.IndexOfHeader("x"), -1);
  for (const char* line : {"Date: d", "accept: a", "Host: h", "Cookie: c", "User-Agent: u", "From: f", "Zeta: z"})
    l.Add(line);
  for (int i = 0; i < l.Count(); ++i) {
    const std::string& line = l.Strings(i);
    EXPECT_EQ(l.IndexOfHeader(line.substr(0, line.find(':'))), i) << line;
  }
  EXPECT_EQ(l.IndexOfHeader("Bogus"), -1);
  EXPECT_EQ(l.IndexOfHeader("zz"), -1);
  l.SetHeader("Expires", "e");
  EXPECT_GE(l.IndexOfHeader("expires"), 0);
  EXPECT_EQ(l.IndexOfHeader("Zeta"), l.Count() - 1);
}
