// The engine against real servers on loopback: nginx serving files, and
// tinyproxy in front of it.
#include <memory>
#include <random>

#include "tests/http/HttpTestKit.h"
#include "tests/http/LocalServices.h"

using namespace httptest;

namespace {

const std::string kSmall = "7010\n5\nSSB\n1\n";

class HttpLive : public HttpTest {
protected:
  static void SetUpTestSuite() {
    shared = new Shared;
    std::filesystem::create_directories(shared->dir.Path() / "www");
    WriteFile(shared->dir.File("www/small.txt"), kSmall);
    std::mt19937 rng(42);
    std::string large(5 * 1024 * 1024 + 123, '\0');
    for (char& c : large) c = static_cast<char>(rng());
    WriteFile(shared->dir.File("www/large.bin"), large);
    shared->large = std::move(large);
    if (HaveProgram("nginx"))
      shared->nginx = std::make_unique<Nginx>(shared->dir.Path().string(), shared->dir.File("www"));
    if (HaveProgram("tinyproxy")) shared->proxy = std::make_unique<TinyProxy>(shared->dir.Path().string());
  }
  static void TearDownTestSuite() {
    delete shared;
    shared = nullptr;
  }

  void SetUp() override {
    HttpTest::SetUp();
    if (!shared->nginx) GTEST_SKIP() << "nginx is not installed";
    ASSERT_TRUE(shared->nginx->Running()) << shared->nginx->Log();
  }

  std::string NginxUrl(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(shared->nginx->Port()) + path;
  }

  struct Shared {
    TempDir dir;
    std::string large;
    std::unique_ptr<Nginx> nginx;
    std::unique_ptr<TinyProxy> proxy;
  };
  static Shared* shared;
};

HttpLive::Shared* HttpLive::shared = nullptr;

}  // namespace

TEST_F(HttpLive, FetchesASmallFile) {
  int successes = 0;
  http->OnSuccess = [&](CmdType) { ++successes; };
  http->Get(NginxUrl("/small.txt"));
  EXPECT_EQ(http->GetReplyNumber(), 200);
  EXPECT_EQ(successes, 1);
  EXPECT_EQ(BodyFile(), kSmall);
  EXPECT_EQ(http->Header.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << http->Header;
  EXPECT_EQ(http->Header.substr(http->Header.size() - 4), "\r\n\r\n");
}

TEST_F(HttpLive, FetchesALargeFileIntoAFileAndIntoText) {
  http->Get(NginxUrl("/large.bin"));
  EXPECT_TRUE(BodyFile() == shared->large) << "body file differs";
  http->InputFileMode = false;
  http->Get(NginxUrl("/large.bin"));
  EXPECT_EQ(http->Body.size(), shared->large.size());
  EXPECT_TRUE(http->Body == shared->large) << "body text differs";
}

TEST_F(HttpLive, MissingFileIsAFailureWithTheServersPage) {
  std::vector<CmdType> failures;
  http->OnFailure = [&](CmdType kind) { failures.push_back(kind); };
  http->Get(NginxUrl("/none.txt"));
  EXPECT_EQ(http->GetReplyNumber(), 404);
  EXPECT_EQ(failures, std::vector<CmdType>{cmdGET});
  EXPECT_NE(BodyFile().find("404"), std::string::npos);
}

TEST_F(HttpLive, FollowsTheServersRedirect) {
  int redirects = 0;
  http->OnRedirect = [&](bool&) { ++redirects; };
  http->Get(NginxUrl("/old"));
  EXPECT_EQ(redirects, 1);
  EXPECT_EQ(http->GetReplyNumber(), 200);
  EXPECT_EQ(BodyFile(), kSmall);
}

TEST_F(HttpLive, GoesThroughTheProxy) {
  if (!shared->proxy) GTEST_SKIP() << "tinyproxy is not installed";
  ASSERT_TRUE(shared->proxy->Running()) << shared->proxy->Log();
  http->Proxy = "127.0.0.1";
  http->ProxyPort = shared->proxy->Port();
  http->Get(NginxUrl("/small.txt"));
  EXPECT_EQ(http->GetReplyNumber(), 200);
  EXPECT_EQ(BodyFile(), kSmall);
  http->Get(NginxUrl("/large.bin"));
  EXPECT_TRUE(BodyFile() == shared->large) << "body through the proxy differs";
}
