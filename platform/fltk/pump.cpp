// The message pump on FLTK's event loop, which is the only loop in the
// process: due timeouts, ready descriptors, awake posts and GUI events all
// come out of Fl::wait.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/fltk/loop_internal.h"
#include "platform/messages.h"

namespace platform {
namespace {

std::atomic<std::uint64_t> activity{0};
std::atomic<bool> started{false};
std::thread::id loopThread;  // written once, before started is set
int quitRequests = 0;

// Bounds one ProcessMessages call: a source that stays ready (a descriptor
// somebody watches but never reads) must not keep it from returning.
constexpr int kMaxPasses = 32;

// Longest single block of the main loop; it re-checks its exit conditions
// at least this often.
constexpr std::uint32_t kMainLoopWaitMs = 60000;

int CountingDispatch(int event, Fl_Window* window) {
  loop::NoteActivity();
  return Fl::handle_(event, window);
}

}  // namespace

void loop::EnsureStarted() {
  static std::once_flag once;
  std::call_once(once, [] {
    Fl::lock();
    Fl::event_dispatch(CountingDispatch);
    loopThread = std::this_thread::get_id();
    started = true;
  });
}

bool loop::Started() { return started; }

bool loop::OnLoopThread() { return started && std::this_thread::get_id() == loopThread; }

void loop::NoteActivity() { activity.fetch_add(1, std::memory_order_relaxed); }

std::uint64_t loop::Activity() { return activity.load(std::memory_order_relaxed); }

bool ProcessMessages() {
  loop::EnsureStarted();
  const std::uint64_t atStart = loop::Activity();
  // With a display open, one Fl::wait(0) that finds X events already queued
  // handles only those and skips the descriptors, so go round until a pass
  // finds nothing at all.
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const std::uint64_t before = loop::Activity();
    const double ready = Fl::wait(0.0);
    loop::DrainQueue();
    if (ready <= 0 && loop::Activity() == before) break;
  }
  return loop::Activity() != atStart;
}

void WaitAndProcessMessages(std::uint32_t maxWaitMs) {
  if (ProcessMessages()) return;
  // Blocks until a descriptor (sockets, the awake pipe that carries posts and
  // Wake, the X connection) is ready or the next timeout is due. What became
  // ready is handled inside; the socket notifications that posted, which do
  // not wake the loop again, right after; the rest by the pass below.
  Fl::wait(maxWaitMs / 1000.0);
  loop::DrainQueue();
  ProcessMessages();
}

bool OnMessageThread() { return !loop::Started() || loop::OnLoopThread(); }

void Wake() { loop::RequestWake(); }

void SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void RunMessageLoop() {
  loop::EnsureStarted();
  bool sawWindow = false;
  for (;;) {
    if (quitRequests > 0) {
      --quitRequests;
      return;
    }
    if (Fl::first_window()) {
      sawWindow = true;
    } else if (sawWindow) {
      return;  // the last shown window was closed
    }
    WaitAndProcessMessages(kMainLoopWaitMs);
  }
}

void QuitMessageLoop() {
  ++quitRequests;
  Wake();
}

}  // namespace platform
