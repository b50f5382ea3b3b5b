// A "freq.ini" that cannot be written: the fetch counts as failed after
// closing the connection, the file stays as it was, no part file is left,
// the follow step shows "Not connect", sends nothing and says why on stderr
// once, and the first tick after the file can be written again shows and
// follows the station.
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>

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
  const char* reason;  // on stderr
};

void RemoveFollowFile() { std::filesystem::remove("freq.ini"); }

const Unwritable kCases[] = {
    {"ADirectoryOfThatName", [] { RemoveFollowFile(), std::filesystem::create_directory("freq.ini"); },
     [] { std::filesystem::remove("freq.ini"); }, "Cannot replace freq.ini: Is a directory"},
    {"AReadOnlyFolder", [] { RemoveFollowFile(), ::chmod(".", 0555); }, [] { ::chmod(".", 0755); },
     "Cannot create file freq.ini.part"},
    {"AReadOnlyFile", [] { ::chmod("freq.ini", 0444); }, [] { ::chmod("freq.ini", 0644); },
     "Cannot replace freq.ini: Permission denied"},
};

class UnwritableFollowFile : public PanelTest, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(UnwritableFollowFile, FetchFailsAndTheNextTickAfterItIsWritableRecovers) {
  testsupport::WithoutPermissionOverride ordinaryUser;
  if (ordinaryUser.Failed()) GTEST_SKIP() << "root without a way to drop its file permission override";
  const Unwritable& u = GetParam();
  const std::string body = "ignored\n";
  testsupport::ScriptedServer server(
      {GoodAnswer(kGoodBefore), GoodAnswer(body), GoodAnswer(body), GoodAnswer(kGoodAfter)});
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/freq.ini";
  WriteFile("host.ini", url + "\n");
  StartPanel();
  form.Timer1Timer(nullptr);
  ASSERT_EQ(view.panels[1], "7050,0");
  const int baseline = bench::OpenDescriptors();

  u.block();
  const std::set<std::string> before = FilesHere();
  const std::string bytesBefore = ReadFile("freq.ini");
  ::testing::internal::CaptureStderr();
  ClearLog();
  for (int tick = 0; tick < 2; ++tick) {
    form.Timer1Timer(nullptr);
    EXPECT_FALSE(form.NMHTTP1->GetConnected());
    EXPECT_EQ(view.panels[0], "Not connect");
    EXPECT_EQ(view.panels[1], "7050,0");
    EXPECT_EQ(FilesHere(), before);
    EXPECT_EQ(ReadFile("freq.ini"), bytesBefore);
  }
  EXPECT_TRUE(Told().empty());
  EXPECT_TRUE(view.errorBoxes.empty());

  u.unblock();
  form.Timer1Timer(nullptr);
  EXPECT_TRUE(IsTimeText(view.panels[0])) << view.panels[0];
  EXPECT_EQ(view.panels[1], "14200,3");
  EXPECT_EQ(Tunings(), Strings{"14200 kHz AM"});
  EXPECT_EQ(server.Connections(), 4);
  EXPECT_EQ(
      FollowLines(::testing::internal::GetCapturedStderr()),
      (Strings{"ravolin: following " + url + " failed: " + u.reason, "ravolin: following " + url + " works again"}));
  EXPECT_EQ(SettledOpenFileCount(baseline), baseline);
}

INSTANTIATE_TEST_SUITE_P(FollowFile, UnwritableFollowFile, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Unwritable>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
