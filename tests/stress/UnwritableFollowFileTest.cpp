// A "freq.ini" that cannot be written: the fetch raises the file layer's
// error after closing the connection, the follow step shows "Not connect"
// and sends nothing, and the first tick after the file can be written again
// shows and follows the station.
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "bench/proc_stats.h"
#include "http/NMHttp.h"
#include "panel/PanelState.h"
#include "tests/panel/PanelFixture.h"
#include "tests/stress/HostileCases.h"
#include "tests/stress/OpenFiles.h"
#include "tests/support/WithoutPermissionOverride.h"

using namespace stresstest;

namespace {

using Strings = std::vector<std::string>;

struct Unwritable {
  const char* name;
  std::function<void()> block;
  std::function<void()> unblock;
};

void RemoveFollowFile() { std::filesystem::remove("freq.ini"); }

const Unwritable kCases[] = {
    {"ADirectoryOfThatName", [] { RemoveFollowFile(), std::filesystem::create_directory("freq.ini"); },
     [] { std::filesystem::remove("freq.ini"); }},
    {"AReadOnlyFolder", [] { RemoveFollowFile(), ::chmod(".", 0555); }, [] { ::chmod(".", 0755); }},
    {"AReadOnlyFile", [] { ::chmod("freq.ini", 0444); }, [] { ::chmod("freq.ini", 0644); }},
};

class UnwritableFollowFile : public PanelTest, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(UnwritableFollowFile, FetchFailsAndTheNextTickAfterItIsWritableRecovers) {
  testsupport::WithoutPermissionOverride ordinaryUser;
  if (ordinaryUser.Failed()) GTEST_SKIP() << "root without a way to drop its file permission override";
  const Unwritable& u = GetParam();
  const std::string body = "ignored\n";
  testsupport::ScriptedServer server({GoodAnswer(kGoodBefore), GoodAnswer(body), GoodAnswer(body), GoodAnswer(kGoodAfter)});
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/freq.ini";
  WriteFile("host.ini", url + "\n");
  StartPanel();
  form.NMHTTP1->TimeOut = kShortTimeOutMs;
  form.Timer1Timer(nullptr);
  ASSERT_EQ(view.panels[1], "7050,0");
  const int baseline = bench::OpenDescriptors();

  u.block();
  EXPECT_EQ(RaisedBy([&] { form.NMHTTP1->Get(url); }), "Cannot create file freq.ini");
  EXPECT_FALSE(form.NMHTTP1->GetConnected());
  ClearLog();
  form.Timer1Timer(nullptr);
  EXPECT_EQ(view.panels[0], "Not connect");
  EXPECT_EQ(view.panels[1], "7050,0");
  EXPECT_TRUE(Told().empty());
  EXPECT_TRUE(view.errorBoxes.empty());

  u.unblock();
  form.Timer1Timer(nullptr);
  EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
  EXPECT_EQ(view.panels[1], "14200,3");
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  EXPECT_EQ(server.Connections(), 4);
  EXPECT_EQ(SettledOpenFileCount(baseline), baseline);
}

INSTANTIATE_TEST_SUITE_P(FollowFile, UnwritableFollowFile, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Unwritable>& param) { return std::string(param.param.name); });

}  // namespace
