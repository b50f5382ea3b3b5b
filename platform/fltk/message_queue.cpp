// The posted-message queue. Any thread may post; the user-interface thread
// drains it from the pump and from an FLTK awake callback. At most one awake
// is outstanding at a time, however many messages are queued, because FLTK's
// awake queue is small and drops posts when full.
//
// A post from a callback of the loop itself (a socket notification) defers
// its wake: the pump drains the queue as soon as FLTK's wait returns, so the
// awake pipe's write and read would be wasted on every block of a transfer.
// Any other loop (a modal dialog runs FLTK's directly) gets the wake from a
// check at the start of its next wait.

#include <FL/Fl.H>

#include <deque>
#include <mutex>

#include "base/Application.h"
#include "platform/fltk/loop_internal.h"
#include "platform/loop_services.h"
#include "platform/messages.h"

namespace platform {
namespace {

struct Posted {
  std::uint64_t sequence;
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::function<bool()> deliver;
};

struct MessageQueue {
  std::mutex mutex;
  std::deque<Posted> messages;
  std::uint64_t lastSequence = 0;
  bool awakePending = false;
  bool wakeDeferred = false;  // queued without a wake and not drained yet
};

// Never destroyed: a lookup worker may still post while the process exits.
MessageQueue& Queue() {
  static MessageQueue* queue = new MessageQueue;
  return *queue;
}

void OnAwake(void*) {
  {
    MessageQueue& queue = Queue();
    std::lock_guard lock(queue.mutex);
    queue.awakePending = false;
  }
  loop::DrainQueue();
}

// Runs at the start of every wait of FLTK's loop, whoever runs it.
void OnCheck(void*) {
  MessageQueue& queue = Queue();
  {
    std::lock_guard lock(queue.mutex);
    if (!queue.wakeDeferred) return;
    queue.wakeDeferred = false;
  }
  loop::RequestWake();
}

bool Enqueue(Posted posted, bool wake) {
  if (!IsWindowAlive(posted.window)) return false;
  {
    MessageQueue& queue = Queue();
    std::lock_guard lock(queue.mutex);
    posted.sequence = ++queue.lastSequence;
    queue.messages.push_back(std::move(posted));
    if (!wake) queue.wakeDeferred = true;
  }
  if (wake) loop::RequestWake();
  return true;
}

void Dispatch(Posted& posted) {
  WindowProc procedure;
  if (!loop::FindProcedure(posted.window, &procedure)) return;  // window gone: dropped
  RunReportingErrors([&] {
    if (posted.deliver && !posted.deliver()) return;
    loop::NoteActivity();
    procedure(posted.window, posted.message, posted.wParam, posted.lParam);
  });
}

}  // namespace

void loop::RequestWake() {
  MessageQueue& queue = Queue();
  {
    std::lock_guard lock(queue.mutex);
    if (queue.awakePending || !loop::Started()) return;
    queue.awakePending = true;
  }
  if (Fl::awake(OnAwake, nullptr) != 0) {
    // FLTK's awake queue is full; the pipe is readable anyway, so the loop
    // wakes, and the next post tries again.
    std::lock_guard lock(queue.mutex);
    queue.awakePending = false;
  }
}

void loop::DrainQueue() {
  MessageQueue& queue = Queue();
  std::uint64_t limit;
  {
    std::lock_guard lock(queue.mutex);
    limit = queue.lastSequence;
    queue.wakeDeferred = false;  // what it was deferred for is drained now
  }
  // One at a time, so that a handler that pumps (nested) takes the next
  // messages in order and this loop carries on after them.
  for (;;) {
    Posted posted;
    {
      std::lock_guard lock(queue.mutex);
      if (queue.messages.empty() || queue.messages.front().sequence > limit) return;
      posted = std::move(queue.messages.front());
      queue.messages.pop_front();
    }
    Dispatch(posted);
  }
}

bool PostWindowMessageIf(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                         std::function<bool()> deliver) {
  return Enqueue(Posted{0, window, message, wParam, lParam, std::move(deliver)}, true);
}

bool PostWindowMessageFromLoop(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               std::function<bool()> deliver) {
  if (!loop::OnLoopThread()) return PostWindowMessageIf(window, message, wParam, lParam, std::move(deliver));
  static const bool checking = (Fl::add_check(OnCheck), true);
  (void)checking;
  return Enqueue(Posted{0, window, message, wParam, lParam, std::move(deliver)}, false);
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::function<void()> beforeDispatch) {
  std::function<bool()> deliver;
  if (beforeDispatch) {
    deliver = [hook = std::move(beforeDispatch)] {
      hook();
      return true;
    };
  }
  return PostWindowMessageIf(window, message, wParam, lParam, std::move(deliver));
}

}  // namespace platform
