#include "bench/follow_loop.h"

#include <chrono>
#include <fstream>

#include "bench/loop_panel_view.h"
#include "bench/proc_stats.h"
#include "bench/work_folder.h"
#include "panel/PanelConstants.h"
#include "panel/Unit1.h"
#include "platform/messages.h"
#include "platform/window_timer.h"

namespace bench {

FollowFigures RunFollow(const std::string& url, int seconds, int maxTicks) {
  WorkFolder folder;
  std::ofstream("host.ini") << url << "\n";

  FollowFigures figures;
  LoopPanelView view;
  TForm1 form(view, "ravolin");
  form.FormCreate(nullptr);

  // The loop counts quit requests, so it is asked once, whichever limit
  // comes first; a tick that slips in after that does not count.
  bool ended = false;
  auto endRun = [&] {
    if (ended) return;
    ended = true;
    platform::QuitMessageLoop();
  };
  view.Timer1().OnTick = [&] {
    if (ended) return;
    form.Timer1Timer(nullptr);
    ++figures.ticks;
    if (view.panels[panel::kTimePanel] == panel::kNotConnected) ++figures.notConnected;
    const int fds = OpenDescriptors();
    const long rss = ResidentKiB();
    if (figures.ticks == 1) {
      figures.fdsFirst = fds;
      figures.rssFirstKiB = rss;
    }
    figures.fdsLast = fds;
    figures.rssLastKiB = rss;
    if (figures.ticks == maxTicks) endRun();
  };
  platform::WindowTimer end("RavolinFollowRunEnd");
  end.OnTick = endRun;
  end.Start(static_cast<std::uint32_t>(seconds) * 1000u);

  const double cpuBefore = CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  platform::RunMessageLoop();
  figures.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  figures.cpuSeconds = CpuSeconds() - cpuBefore;
  figures.errorBoxes = static_cast<int>(view.errorBoxes.size());
  view.Timer1().OnTick = nullptr;
  return figures;
}

}  // namespace bench
