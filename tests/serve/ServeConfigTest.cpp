// serve.ini: the two addresses, what turns a server off, and the problem
// lines for what does not parse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "serve/ServeConfig.h"

namespace {

using Strings = std::vector<std::string>;

TEST(ListenAddress, ParsesDottedAddressesAndLocalhost) {
  struct Case {
    const char* text;
    std::uint32_t ipv4;
    std::uint16_t port;
  };
  for (const Case& c : {Case{"127.0.0.1:4532", 0x7F000001, 4532}, Case{"0.0.0.0:8073", 0, 8073},
                        Case{"localhost:1", 0x7F000001, 1}, Case{"LocalHost:65535", 0x7F000001, 65535},
                        Case{"192.168.10.255:08073", 0xC0A80AFF, 8073}}) {
    std::string error;
    const auto address = ParseListenAddress(c.text, error);
    ASSERT_TRUE(address) << c.text << ": " << error;
    EXPECT_EQ(address->ipv4, c.ipv4) << c.text;
    EXPECT_EQ(address->port, c.port) << c.text;
  }
  std::string error;
  EXPECT_EQ(ParseListenAddress("10.0.0.7:4532", error)->Text(), "10.0.0.7:4532");
}

TEST(ListenAddress, RefusesWhatIsNotAnIpv4HostAndAPortWithAReason) {
  const char* notHostPort[] = {"4532", "localhost", ""};
  const char* badHosts[] = {":4532",         "host.example:80", "1.2.3:80",   "1.2.3.4.5:80", "256.0.0.1:80",
                            "01.2.3.4:80",   "[::1]:4532",      "1..3.4:80",  "-1.2.3.4:80",  "1.2.3.4 :80"};
  const char* badPorts[] = {"127.0.0.1:",     "127.0.0.1:0",    "127.0.0.1:65536", "127.0.0.1:+80",
                            "127.0.0.1:80a", "127.0.0.1:000080", "127.0.0.1:-1"};
  for (const char* text : notHostPort) {
    std::string error;
    EXPECT_FALSE(ParseListenAddress(text, error)) << text;
    EXPECT_EQ(error, "'" + std::string(text) + "' is not host:port");
  }
  for (const char* text : badHosts) {
    std::string error;
    EXPECT_FALSE(ParseListenAddress(text, error)) << text;
    EXPECT_NE(error.find("the host must be"), std::string::npos) << text << ": " << error;
  }
  for (const char* text : badPorts) {
    std::string error;
    EXPECT_FALSE(ParseListenAddress(text, error)) << text;
    EXPECT_NE(error.find("the port must be a number from 1 to 65535"), std::string::npos) << text << ": " << error;
  }
}

TEST(ListenAddress, OverlapsOnTheSamePortOfTheSameOrEveryInterface) {
  const ListenAddress loopback{0x7F000001, 4532};
  EXPECT_TRUE(loopback.Overlaps({0x7F000001, 4532}));
  EXPECT_TRUE(loopback.Overlaps({0, 4532}));
  EXPECT_FALSE(loopback.Overlaps({0x0A000001, 4532}));
  EXPECT_FALSE(loopback.Overlaps({0x7F000001, 4533}));
}

class ServeIni : public ::testing::Test {
protected:
  ServeConfig Read(const std::string& contents) {
    std::ofstream(path_, std::ios::binary) << contents;
    return ReadServeConfig(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  const std::string path_ = ::testing::TempDir() + "ravolin_serve_" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
};

TEST_F(ServeIni, NoFileLeavesBothOffWithoutAWord) {
  const ServeConfig config = ReadServeConfig(path_);
  EXPECT_FALSE(config.stateFeed);
  EXPECT_FALSE(config.rigControl);
  EXPECT_TRUE(config.problems.empty());
}

TEST_F(ServeIni, TwoLinesTurnOnBothAndBlanksAroundThemDoNotCount) {
  const ServeConfig config = Read(" 127.0.0.1:8073\t\r\nlocalhost:4532 \r\nignored\n");
  ASSERT_TRUE(config.stateFeed);
  ASSERT_TRUE(config.rigControl);
  EXPECT_EQ(config.stateFeed->Text(), "127.0.0.1:8073");
  EXPECT_EQ(config.rigControl->Text(), "127.0.0.1:4532");
  EXPECT_TRUE(config.problems.empty());
}

TEST_F(ServeIni, AnEmptyOrBlankLineTurnsOnlyItsServerOff) {
  ServeConfig config = Read("\n127.0.0.1:4532\n");
  EXPECT_FALSE(config.stateFeed);
  EXPECT_TRUE(config.rigControl);
  config = Read("0.0.0.0:8073\n   \n");
  EXPECT_TRUE(config.stateFeed);
  EXPECT_FALSE(config.rigControl);
  config = Read("0.0.0.0:8073\n");
  EXPECT_TRUE(config.stateFeed);
  EXPECT_FALSE(config.rigControl);
  EXPECT_TRUE(config.problems.empty());
  config = Read("");
  EXPECT_FALSE(config.stateFeed || config.rigControl);
  EXPECT_TRUE(config.problems.empty());
}

TEST_F(ServeIni, ALineThatDoesNotParseTurnsItsServerOffWithOneLine) {
  const ServeConfig config = Read("127.0.0.1:80800\nrig:4532\n");
  EXPECT_FALSE(config.stateFeed);
  EXPECT_FALSE(config.rigControl);
  ASSERT_EQ(config.problems.size(), 2u);
  EXPECT_EQ(config.problems[0],
            path_ + " line 0: '127.0.0.1:80800': the port must be a number from 1 to 65535; the state feed stays off");
  EXPECT_EQ(config.problems[1].rfind(path_ + " line 1: 'rig:4532': the host must be", 0), 0u) << config.problems[1];
  EXPECT_NE(config.problems[1].find("; the rig-control port stays off"), std::string::npos);
}

// A one-line file without its line feed reads the same line again as line
// 1; both servers can't have one port anyway.
TEST_F(ServeIni, TheRigControlPortOnTheFeedsPortStaysOff) {
  for (const char* contents : {"127.0.0.1:8073", "0.0.0.0:8073\n127.0.0.1:8073\n"}) {
    const ServeConfig config = Read(contents);
    EXPECT_TRUE(config.stateFeed) << contents;
    EXPECT_FALSE(config.rigControl) << contents;
    ASSERT_EQ(config.problems.size(), 1u) << contents;
    EXPECT_NE(config.problems[0].find("the rig-control port stays off"), std::string::npos);
  }
}

}  // namespace
