// The panel logic serving its state feed and rig-control port without a
// display: the window double with Timer1 on the real message loop (the
// follow step following its own freq.ini, as an idle panel does), and the
// servers as the program starts them. Runs until the given number of
// seconds has passed; prints "ready" once both servers listen, then a line
// "timer1 MS" at each Timer1 tick: how much later than its period it came.
//
//     serve_panel FEED_ADDRESS RIG_ADDRESS SECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/loop_panel_view.h"
#include "bench/work_folder.h"
#include "panel/Unit1.h"
#include "platform/messages.h"
#include "platform/window_timer.h"
#include "serve/PanelServers.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: serve_panel FEED_ADDRESS RIG_ADDRESS SECONDS\n");
    return 2;
  }
  bench::WorkFolder folder;
  std::ofstream("serve.ini") << argv[1] << "\n" << argv[2] << "\n";
  std::ofstream("host.ini") << "\n";
  std::ofstream("freq.ini") << "7050\n0\nSSB\n0\n";  // the panel's start state

  bench::LoopPanelView view;
  TForm1 form(view, "ravolin");
  form.FormCreate(nullptr);
  using Clock = std::chrono::steady_clock;
  Clock::time_point lastTick = Clock::now();
  view.Timer1().OnTick = [&] {
    const Clock::time_point now = Clock::now();
    const auto late = std::chrono::duration<double, std::milli>(now - lastTick) -
                      std::chrono::milliseconds(panel::kTimer1IntervalMs);
    lastTick = now;
    std::printf("timer1 %.1f\n", late.count());
    std::fflush(stdout);
    form.Timer1Timer(nullptr);
  };
  PanelServers servers(form, view);
  if (servers.Feed() == nullptr || servers.Rig() == nullptr) return 1;

  platform::WindowTimer end("RavolinServeRunEnd");
  end.OnTick = [] { platform::QuitMessageLoop(); };
  end.Start(static_cast<std::uint32_t>(std::atoi(argv[3])) * 1000u);
  std::printf("ready\n");
  std::fflush(stdout);
  platform::RunMessageLoop();
  return 0;
}
