// The radio unplugged and plugged in again while the panel logic runs on the
// message loop without a display (Timer1 and the radio's probe as real
// window timers), against the simulated radio found by name, whose cable is
// a file this program creates and removes. Follow mode is on in the odd
// cycles and off in the even ones; the replug falls at a different point of
// the probe's second in each.
//
// Prints one line of name=value figures: the time from each replug to the
// panel's state being sent (median and largest), and the cost of a click
// while the radio is away beside a click (SET) with the radio there. The
// panel's own lines about the radio go to stderr, as in the program.
//
//     radio_replug [CYCLES]      (1 to 100, default 10)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "bench/loop_panel_view.h"
#include "bench/work_folder.h"
#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "platform/messages.h"
#include "radio/RadioLink.h"
#include "radio/RadioPresence.h"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr int kSet = 15, kDown = 21, kAm = 16, kSsb = 17, kArx = 18, kStr = 19, kUp = 20;

// Runs the loop until condition holds or limit has passed.
bool PumpUntil(const std::function<bool()>& condition, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    platform::WaitAndProcessMessages(static_cast<std::uint32_t>(std::min<long long>(left, 5)));
  }
  return true;
}

double Timed(const std::function<void()>& action) {
  const auto start = Clock::now();
  action();
  return Micros(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double Largest(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 10;
  if (argc > 2 || cycles < 1 || cycles > 100) {
    std::fprintf(stderr, "usage: %s [CYCLES]   (1 to 100)\n", argv[0]);
    return 2;
  }
  bench::WorkFolder folder;
  std::ofstream("host.ini") << "\n";  // follow freq.ini on disk
  std::ofstream("freq.ini") << "7050\n0\nSSB\n0\n";
  const std::filesystem::path cable = std::filesystem::absolute("radio-unplugged");
  setenv("RAVOLIN_SIM_UNPLUG_FILE", cable.c_str(), 1);
  unsetenv("RAVOLIN_SIM_LOG");

  bench::LoopPanelView view;
  TForm1 form(view, "ravolin");
  form.FormCreate(nullptr);
  view.Timer1().OnTick = [&] { RunTimer1(form); };
  if (OutPipe == kPipeNotOpen || InPipe == kPipeNotOpen) {
    std::fprintf(stderr, "radio_replug: the simulated radio's pipes did not open (LD_LIBRARY_PATH?)\n");
    return 1;
  }

  std::vector<double> replugMs, awayClickUs, presentClickUs;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    presentClickUs.push_back(Timed([&] { RunButtonClick(form, kSet); }));
    if (cycle > 1) RunButtonClick(form, kStr);  // follow mode on, off, on, ...

    std::ofstream{cable};
    RunButtonClick(form, kArx);  // finds the radio gone
    if (!RadioAway()) {
      std::fprintf(stderr, "radio_replug: the unplugged radio was not noticed\n");
      return 1;
    }
    for (int button : {kSet, kUp, kDown, kArx, kAm, kSsb})
      awayClickUs.push_back(Timed([&] { RunButtonClick(form, button); }));
    awayClickUs.push_back(Timed([&] { RunTrackBarScroll(form, cycle % 10); }));

    // The replug falls at a different point of the probe's second each time.
    PumpUntil([] { return false; }, std::chrono::milliseconds(cycle * 379 % 1000));
    std::filesystem::remove(cable);
    const auto replugged = Clock::now();
    if (!PumpUntil([] { return !RadioAway(); }, std::chrono::seconds(5))) {
      std::fprintf(stderr, "radio_replug: the radio was not back within 5 s\n");
      return 1;
    }
    replugMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - replugged).count());
  }
  view.Timer1().OnTick = nullptr;

  std::printf(
      "cycles=%d replug_ms_median=%.1f replug_ms_max=%.1f clicks_away=%zu click_away_us_median=%.1f "
      "click_away_us_max=%.1f click_present_us_median=%.1f click_present_us_max=%.1f\n",
      cycles, Median(replugMs), Largest(replugMs), awayClickUs.size(), Median(awayClickUs), Largest(awayClickUs),
      Median(presentClickUs), Largest(presentClickUs));
  return 0;
}
