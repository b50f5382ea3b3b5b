// Get in file mode against each hostile peer: the exact error or outcome,
// the body file it leaves, the connection closed, no descriptor left open,
// and the same component fetching normally right afterwards.
#include "bench/proc_stats.h"
#include "http/NMHttp.h"
#include "tests/http/HttpTestKit.h"
#include "tests/stress/HostileCases.h"
#include "tests/stress/OpenFiles.h"

using namespace stresstest;

namespace {

const char kEarlierBody[] = "earlier body\n";

class HostileGet : public httptest::HttpTest, public ::testing::WithParamInterface<HostileCase> {
protected:
  void SetUp() override {
    HttpTest::SetUp();
    WarmUp(*http);
    http->TimeOut = kShortTimeOutMs;
    httptest::WriteFile(http->Body, kEarlierBody);
  }
};

TEST_P(HostileGet, EndsAsItMustAndTheNextGetWorks) {
  const HostileCase& c = GetParam();
  const int baseline = bench::OpenDescriptors();
  {
    HostilePeer peer(c, {});
    int authentications = 0;
    http->OnAuthenticationNeeded = [&](TComponent*) { ++authentications; };

    EXPECT_EQ(RaisedBy([&] { http->Get(peer.HostileUrl()); }), c.raised);
    EXPECT_FALSE(http->GetConnected());
    const std::string body = BodyFile();
    if (!c.body) {
      EXPECT_EQ(body, kEarlierBody);
    } else if (c.bodyIsPrefix) {
      EXPECT_EQ(body.substr(0, c.body->size()), *c.body);
    } else {
      EXPECT_EQ(body, *c.body);
    }
    if (c.raised.empty()) {
      EXPECT_EQ(http->GetReplyNumber(), c.status);
    }
    // Whatever the peer sends, the header text the component keeps is bounded.
    EXPECT_LE(http->Header.size(), TNMHTTP::kMaxHeaderBytes + TPowersock::kWorkBufferSize);
    EXPECT_EQ(authentications, c.status == 401 ? 1 : 0);

    http->OnAuthenticationNeeded = nullptr;
    EXPECT_EQ(RaisedBy([&] { http->Get(peer.GoodUrl()); }), "");
    EXPECT_EQ(BodyFile(), kGoodAfter);
    EXPECT_EQ(http->GetReplyNumber(), 200);
  }
  EXPECT_EQ(SettledOpenFileCount(baseline), baseline);
}

INSTANTIATE_TEST_SUITE_P(Peers, HostileGet, ::testing::ValuesIn(HostileCases()), CaseName);

}  // namespace
