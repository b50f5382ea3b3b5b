#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "http/NMURL.h"
#include "http/UrlSplit.h"

TEST(NthField, SplitsAtSingleSeparators) {
  EXPECT_EQ(NthField("HTTP/1.0 200 OK\r\n", ' ', 2), "200");
  EXPECT_EQ(NthField("http://h:8080/x", '/', 3), "h:8080");
  EXPECT_EQ(NthField("a,,b", ',', 2), "");
  EXPECT_EQ(NthField("a,,b", ',', 3), "b");
  EXPECT_EQ(NthField("plain", ',', 1), "plain");
  EXPECT_EQ(NthField("plain", ',', 2), "");
  EXPECT_EQ(NthField("a,b", ',', 4), "");
  EXPECT_EQ(NthField("", ',', 1), "");
  EXPECT_EQ(NthField("a,", ',', 2), "");
}

TEST(NthCharPos, CountsFromOneAndFallsPastTheEnd) {
  EXPECT_EQ(NthCharPos("http://h/", '/', 3), 9);
  EXPECT_EQ(NthCharPos("http://h", '/', 3), 9);
  EXPECT_EQ(NthCharPos("http://h", '/', 1), 6);
  EXPECT_EQ(NthCharPos("", '/', 1), 1);
}

TEST(FormEncode, KeepsLettersAndDigitsEscapesTheRest) {
  TNMURL url(nullptr);
  EXPECT_EQ(url.Encode(""), "");
  EXPECT_EQ(url.Encode("a b&c"), "a+b%26c");
  EXPECT_EQ(url.Encode("100%"), "100%25");
  EXPECT_EQ(url.Encode("\r\n"), "%0D%0A");
  // Unlike the usual query quoting, "-", "_", ".", "*" and "~" are escaped too.
  EXPECT_EQ(url.Encode("-_.*~/"), "%2D%5F%2E%2A%7E%2F");
  EXPECT_EQ(url.Encode(std::string("\xE4\x00\xFF", 3)), "%E4%00%FF");
  url.InputString = "x y";
  EXPECT_EQ(url.EncodedInput(), "x+y");
}

TEST(FormEncode, EncodesEveryByteOfLongTexts) {
  TNMURL url(nullptr);
  const std::string text(65536 + 10, ' ');
  const std::string encoded = url.Encode(text);
  EXPECT_EQ(encoded, std::string(text.size(), '+'));
}

TEST(FormEncode, EveryByteValueHasOneForm) {
  TNMURL url(nullptr);
  for (int b = 0; b < 256; ++b) {
    const std::string e = url.Encode(std::string(1, static_cast<char>(b)));
    const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    if (alnum) {
      EXPECT_EQ(e, std::string(1, static_cast<char>(b)));
    } else if (b == ' ') {
      EXPECT_EQ(e, "+");
    } else {
      ASSERT_EQ(e.size(), 3u) << b;
      EXPECT_EQ(std::stoi(e.substr(1), nullptr, 16), b);
      EXPECT_EQ(e.substr(1), [&] {
        std::string s = e.substr(1);
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
      }());
    }
  }
}

namespace {

struct Split {
  std::string url, path, host;
  std::int32_t port = 0;
  void Run() { SplitUrl({url, path, host, port}); }
};

}  // namespace

TEST(SplitUrl, TypicalInputs) {
  struct Case {
    std::string url;
    std::int32_t portBefore;
    std::string host, path, urlAfter;
    std::int32_t port;
  };
  const std::vector<Case> cases = {
      {"http://h/a/b.txt", 0, "h", "/a/b.txt", "http://h/a/b.txt", 80},
      {"http://h:8080/x?y=1", 0, "h", "/x?y=1", "http://h:8080/x?y=1", 8080},
      {"http://h", 0, "h", "/", "http://h/", 80},
      {"http://h/", 0, "h", "/", "http://h/", 80},
      {"h/x", 0, "h", "/x", "h/x", 80},
      {"h/x", 81, "h", "/x", "h/x", 81},
      {"/x", 1234, "prev", "/x", "/x", 1234},
      {"gopher://h/1", 0, "h", "/1", "gopher://h/1", 70},
      {"FTP://h/f", 99, "h", "/f", "FTP://h/f", 21},
      {"other://h/f", 99, "h", "/f", "other://h/f", 80},
      {"next.txt", 0, "next.txt", "/", "next.txt/", 80},
      {"http://h/#frag?q", 0, "h", "/#frag?q", "http://h/#frag?q", 80},
  };
  for (const auto& c : cases) {
    Split s{c.url, "", "prev", c.portBefore};
    s.Run();
    EXPECT_EQ(s.host, c.host) << c.url;
    EXPECT_EQ(s.path, c.path) << c.url;
    EXPECT_EQ(s.url, c.urlAfter) << c.url;
    EXPECT_EQ(s.port, c.port) << c.url;
  }
}

TEST(SplitUrl, PathIsCutAfter256Characters) {
  const std::string longPath = "/" + std::string(300, 'p');
  Split s{"http://h" + longPath, "", "", 0};
  s.Run();
  EXPECT_EQ(s.path, longPath.substr(0, 256));
  EXPECT_EQ(s.url, "http://h" + longPath);
}

TEST(SplitUrl, FailuresKeepWhatEarlierStepsSet) {
  {
    Split s{"", "old", "oldhost", 0};
    try {
      s.Run();
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Empty URL");
    }
    EXPECT_EQ(s.port, 0);
    EXPECT_EQ(s.path, "old");
  }
  {
    // The path and the default port are already set when the scheme fails.
    Split s{"https://secure/p", "old", "oldhost", 0};
    try {
      s.Run();
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "HTTP Secure Socket is not supported");
    }
    EXPECT_EQ(s.path, "/p");
    EXPECT_EQ(s.port, 80);
    EXPECT_EQ(s.host, "oldhost");
  }
  {
    Split s{"http://h:port/", "old", "oldhost", 5};
    try {
      s.Run();
      FAIL();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'port' is not a valid integer value");
    }
    EXPECT_EQ(s.path, "/");
    EXPECT_EQ(s.port, 80);
    EXPECT_EQ(s.host, "oldhost");
    EXPECT_EQ(s.url, "http://h:port/");
  }
}
