// Window timers on FLTK timeouts. Each tick is queued as a kWmTimer message;
// while one is still queued, further ticks of the same timer are dropped, so
// a busy thread finds one tick waiting, not a backlog. The pending mark is
// cleared just before the procedure runs, so a handler that pumps can see
// its own timer again, as with any other message loop.

#include <FL/Fl.H>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "base/Assert.h"

#include "platform/fltk/loop_internal.h"
#include "platform/loop_services.h"
#include "platform/messages.h"

namespace platform {
namespace {

// Shortest interval a timer runs at; shorter ones would keep the loop busy.
constexpr std::uint32_t kMinimumIntervalMs = 10;

struct WindowTimer {
  WindowHandle window;
  std::uintptr_t id;
  double seconds;
  bool running = true;
  bool tickQueued = false;
};

using TimerKey = std::pair<WindowHandle, std::uintptr_t>;

std::map<TimerKey, std::shared_ptr<WindowTimer>>& Timers() {
  RAVOLIN_ASSERT(OnMessageThread(), "window timers belong to the user-interface thread");
  static auto* timers = new std::map<TimerKey, std::shared_ptr<WindowTimer>>;
  return *timers;
}

void OnTimeout(void* data) {
  auto* raw = static_cast<WindowTimer*>(data);
  auto found = Timers().find({raw->window, raw->id});
  if (found == Timers().end() || found->second.get() != raw) return;
  std::shared_ptr<WindowTimer> timer = found->second;
  Fl::repeat_timeout(timer->seconds, OnTimeout, data);
  loop::NoteActivity();
  if (timer->tickQueued) return;
  timer->tickQueued = true;
  PostWindowMessageIf(timer->window, kWmTimer, timer->id, 0, [timer] {
    if (!timer->running) return false;  // stopped or restarted meanwhile
    timer->tickQueued = false;
    return true;
  });
}

void Retire(const std::shared_ptr<WindowTimer>& timer) {
  Fl::remove_timeout(OnTimeout, timer.get());
  timer->running = false;
}

}  // namespace

bool StartWindowTimer(WindowHandle window, std::uintptr_t id, std::uint32_t intervalMs) {
  loop::EnsureStarted();
  if (!IsWindowAlive(window)) return false;
  auto& timers = Timers();
  auto found = timers.find({window, id});
  if (found != timers.end()) {
    Retire(found->second);
    timers.erase(found);
  }
  auto timer = std::make_shared<WindowTimer>();
  timer->window = window;
  timer->id = id;
  timer->seconds = std::max(intervalMs, kMinimumIntervalMs) / 1000.0;
  timers.emplace(TimerKey{window, id}, timer);
  Fl::add_timeout(timer->seconds, OnTimeout, timer.get());
  return true;
}

bool StopWindowTimer(WindowHandle window, std::uintptr_t id) {
  auto& timers = Timers();
  auto found = timers.find({window, id});
  if (found == timers.end()) return false;
  Retire(found->second);
  timers.erase(found);
  return true;
}

void loop::StopTimersOf(WindowHandle window) {
  auto& timers = Timers();
  auto first = timers.lower_bound({window, 0});
  auto it = first;
  while (it != timers.end() && it->first.first == window) {
    Retire(it->second);
    ++it;
  }
  timers.erase(first, it);
}

}  // namespace platform
