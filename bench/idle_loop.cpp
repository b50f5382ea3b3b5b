// How much processor time the message loop costs while it has nothing to do
// but a 1000 ms window timer: runs the real loop (FLTK, no display) for about
// ten seconds and prints CPU seconds against wall seconds on one line.
//
//   idle_loop [SECONDS]      (default 10)

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "bench/proc_stats.h"
#include "platform/messages.h"

namespace {

constexpr double kLimitPercent = 1.0;
constexpr std::uint32_t kIntervalMs = 1000;

long ticksWanted = 10;
long ticks = 0;

std::intptr_t Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
  if (message != platform::kWmTimer) return platform::DefaultWindowProc(window, message, wParam, lParam);
  if (++ticks >= ticksWanted) platform::QuitMessageLoop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) ticksWanted = std::strtol(argv[1], nullptr, 10) * 1000 / kIntervalMs;
  if (ticksWanted < 1) {
    std::fprintf(stderr, "usage: %s [SECONDS]   (1 or more)\n", argv[0]);
    return 2;
  }
  const platform::WindowHandle window = platform::AllocateHiddenWindow("IdleLoopBenchClass", Procedure, nullptr);
  if (window == 0 || !platform::StartWindowTimer(window, 1, kIntervalMs)) {
    std::fprintf(stderr, "idle_loop: no window timer\n");
    return 1;
  }

  const double cpuBefore = bench::CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  platform::RunMessageLoop();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  const double cpu = bench::CpuSeconds() - cpuBefore;
  platform::DestroyHiddenWindow(window);

  std::printf("idle_loop: cpu %.3f s over wall %.2f s = %.3f%% of one core (limit %.0f%%), %ld ticks of %u ms\n", cpu,
              wall, 100.0 * cpu / wall, kLimitPercent, ticks, kIntervalMs);
  return 0;
}
