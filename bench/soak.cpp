// Long runs that show whether descriptors or memory pile up, and whether
// anything fails along the way:
//
//   soak get URL BODYFILE COUNT   COUNT fetches of URL with one HTTP component,
//                                 set up as the panel's (body to BODYFILE)
//   soak follow URL SECONDS       the panel's follow mode ticking once a second
//                                 against URL, on the real message loop
//
// Prints one line of name=value figures: descriptors and resident memory
// after the first and after the last call or tick, errors, wall and CPU time.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/follow_loop.h"
#include "bench/panel_http.h"
#include "bench/proc_stats.h"
#include "http/NMHttp.h"

namespace {

std::string FileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One fetch; an empty result, or the reason it failed.
std::string FetchOnce(TNMHTTP& http, const std::string& url, const std::string& bodyFile,
                      const std::string& expectedBody) {
  try {
    http.Get(url);
  } catch (const std::exception& e) {
    return e.what();
  }
  if (http.GetReplyNumber() != 200) return "status " + std::to_string(http.GetReplyNumber());
  if (!expectedBody.empty() && FileBytes(bodyFile) != expectedBody) return "body differs from the first one";
  return {};
}

int SoakGet(const std::string& url, const std::string& bodyFile, long count) {
  TNMHTTP http(nullptr);
  bench::SetUpAsPanel(http, bodyFile);

  long errors = 0;
  std::string firstError;
  std::string expectedBody;
  int fdsFirst = 0;
  long rssFirst = 0;
  const double cpuBefore = bench::CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i) {
    const std::string error = FetchOnce(http, url, bodyFile, expectedBody);
    if (!error.empty()) {
      if (errors++ == 0) firstError = error;
    } else if (expectedBody.empty()) {
      expectedBody = FileBytes(bodyFile);
    }
    if (i == 0) {
      fdsFirst = bench::OpenDescriptors();
      rssFirst = bench::ResidentKiB();
    }
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  const double cpu = bench::CpuSeconds() - cpuBefore;
  std::printf(
      "soak get: calls=%ld errors=%ld wall_s=%.3f cpu_s=%.3f fds_first=%d fds_last=%d "
      "rss_kib_first=%ld rss_kib_last=%ld\n",
      count, errors, wall, cpu, fdsFirst, bench::OpenDescriptors(), rssFirst, bench::ResidentKiB());
  if (errors > 0) std::fprintf(stderr, "soak get: first error: %s\n", firstError.c_str());
  return errors == 0 ? 0 : 1;
}

int SoakFollow(const std::string& url, int seconds) {
  const bench::FollowFigures f = bench::RunFollow(url, seconds);
  const double share = f.wallSeconds > 0 ? 100.0 * f.cpuSeconds / f.wallSeconds : 0.0;
  std::printf(
      "soak follow: ticks=%d errors=%d error_boxes=%d wall_s=%.3f cpu_s=%.3f cpu_pct=%.3f "
      "fds_first=%d fds_last=%d rss_kib_first=%ld rss_kib_last=%ld\n",
      f.ticks, f.notConnected, f.errorBoxes, f.wallSeconds, f.cpuSeconds, share, f.fdsFirst, f.fdsLast, f.rssFirstKiB,
      f.rssLastKiB);
  return f.notConnected == 0 && f.errorBoxes == 0 && f.ticks > 0 ? 0 : 1;
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s get URL BODYFILE COUNT\n       %s follow URL SECONDS\n", program, program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "get" && argc == 5) {
      const long count = std::strtol(argv[4], nullptr, 10);
      if (count > 0) return SoakGet(argv[2], argv[3], count);
    } else if (mode == "follow" && argc == 4) {
      const long seconds = std::strtol(argv[3], nullptr, 10);
      if (seconds > 0 && seconds <= 86400) return SoakFollow(argv[2], static_cast<int>(seconds));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "soak: %s\n", e.what());
    return 1;
  }
  return Usage(argv[0]);
}
