// The follow mode against station servers that never finish an answer, with
// the panel's own bounds (10 s a fetch, 64 KiB a body), on the real message
// loop and loopback servers of its own:
//
//   flaky_follow [TICKS]     (default 2)
//
//   - a body without end at full speed: TICKS * 10 fetches, while a second
//     thread keeps looking at the size of every file in the working folder;
//     prints the largest "freq.ini" and the largest other file (the part
//     file) it saw;
//   - header lines every 2 s, never the blank line; and a whole header, then
//     one body byte every 500 ms: TICKS fetches each; prints the longest.
//
// One line of name=value figures; "unexpected" counts fetches that did not
// end as failed ("Not connect"). The radio is whatever library the loader
// finds by name.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "bench/work_folder.h"
#include "panel/FollowFiles.h"
#include "panel/Unit1.h"
#include "tests/panel/FakePanelView.h"
#include "tests/support/ScriptedServer.h"

namespace {

using namespace testsupport;
using namespace std::chrono_literals;

const char kStation[] = "7050\n0\nSSB\n0\n";
const char kRequestEnd[] = "\r\n\r\n";
const char kOk[] = "HTTP/1.0 200 OK\r\n";

// Largest sizes seen, on a thread of its own, for as long as it lives.
class SizeWatch {
public:
  SizeWatch() : thread_([this] { Watch(); }) {}
  ~SizeWatch() {
    stop_ = true;
    thread_.join();
  }
  SizeWatch(const SizeWatch&) = delete;
  SizeWatch& operator=(const SizeWatch&) = delete;
  std::uintmax_t FollowFile() const { return followFile_; }
  std::uintmax_t OtherFile() const { return otherFile_; }

private:
  void Watch() {
    while (!stop_) {
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
        const std::uintmax_t size = entry.file_size(error);
        if (error) continue;
        std::atomic<std::uintmax_t>& largest = entry.path().filename() == kFollowFile ? followFile_ : otherFile_;
        if (size > largest) largest = size;
      }
      std::this_thread::sleep_for(1ms);
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<std::uintmax_t> followFile_{0};
  std::atomic<std::uintmax_t> otherFile_{0};
  std::thread thread_;
};

struct Fetches {
  double longestSeconds = 0;
  int unexpected = 0;  // fetches that did not fail
  std::uintmax_t followFileMax = 0;
  std::uintmax_t otherFileMax = 0;
};

// Runs count follow ticks against a server that plays script on every connection,
// in a fresh working folder holding a good freq.ini, with the sizes of its
// files watched meanwhile.
Fetches FollowTicks(const Script& script, int count) {
  ScriptedServer server({script});
  bench::WorkFolder folder;
  std::ofstream("host.ini") << "http://127.0.0.1:" << server.Port() << "/freq.ini\n";
  std::ofstream(kFollowFile) << kStation;
  FakePanelView view;
  TForm1 form(view, "ravolin");
  form.FormCreate(nullptr);

  Fetches fetches;
  SizeWatch watch;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    form.Timer1Timer(nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds > fetches.longestSeconds) fetches.longestSeconds = seconds;
    if (view.panels[0] != "Not connect") ++fetches.unexpected;
  }
  fetches.followFileMax = watch.FollowFile();
  fetches.otherFileMax = watch.OtherFile();
  return fetches;
}

}  // namespace

int main(int argc, char** argv) {
  const long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2;
  if (ticks < 1 || ticks > 1000) {
    std::fprintf(stderr, "usage: %s [TICKS]   (1 to 1000)\n", argv[0]);
    return 2;
  }
  const int n = static_cast<int>(ticks);
  const FollowBounds bounds;
  try {
    const Fetches endless =
        FollowTicks({Expect(kRequestEnd), Send(std::string(kOk) + "\r\n"), Flood(std::string(65536, '7'))}, n * 10);
    const Fetches header = FollowTicks({Expect(kRequestEnd), Send(kOk), Trickle("X-Wait: 1\r\n", 2s)}, n);
    const Fetches body = FollowTicks({Expect(kRequestEnd), Send(std::string(kOk) + "\r\n7"), Trickle("0", 500ms)}, n);
    std::printf(
        "flaky follow: station_bytes=%zu endless_fetches=%d follow_file_max=%ju part_file_max=%ju cap=%u "
        "header_drip_fetches=%d header_drip_longest_s=%.3f body_drip_fetches=%d body_drip_longest_s=%.3f "
        "deadline_s=%.3f unexpected=%d\n",
        sizeof kStation - 1, n * 10, endless.followFileMax, endless.otherFileMax, bounds.maxBodyBytes, n,
        header.longestSeconds, n, body.longestSeconds, bounds.deadlineMs / 1000.0,
        endless.unexpected + header.unexpected + body.unexpected);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "flaky_follow: %s\n", e.what());
    return 1;
  }
  return 0;
}
