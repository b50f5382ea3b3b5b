// Descriptor watches on Fl::add_fd. Readable and writable are separate FLTK
// entries; FLTK waits with select(), so descriptors must be below FD_SETSIZE.

#include <FL/Fl.H>
#include <sys/select.h>

#include <map>
#include <memory>

#include "base/Application.h"
#include "base/Assert.h"
#include "platform/fltk/loop_internal.h"
#include "platform/loop_services.h"

namespace platform {
namespace {

struct Watch {
  std::shared_ptr<FdCallback> readable;
  std::shared_ptr<FdCallback> writable;
};

std::map<int, Watch>& Watches() {
  RAVOLIN_ASSERT(OnMessageThread(), "descriptor watches belong to the user-interface thread");
  static auto* watches = new std::map<int, Watch>;
  return *watches;
}

void Run(int fd, std::shared_ptr<FdCallback> Watch::*direction) {
  auto found = Watches().find(fd);
  if (found == Watches().end()) return;
  // Keep the callback alive even when it unwatches itself.
  std::shared_ptr<FdCallback> callback = found->second.*direction;
  if (!callback) return;
  loop::NoteActivity();
  RunReportingErrors([&] { (*callback)(fd); });
}

void OnReadable(int fd, void*) { Run(fd, &Watch::readable); }
void OnWritable(int fd, void*) { Run(fd, &Watch::writable); }

bool Add(int fd, FdCallback callback, std::shared_ptr<FdCallback> Watch::*direction, int flag, Fl_FD_Handler handler) {
  if (fd < 0 || fd >= FD_SETSIZE || !callback) return false;
  loop::EnsureStarted();
  auto& slot = Watches()[fd].*direction;
  const bool fresh = !slot;
  slot = std::make_shared<FdCallback>(std::move(callback));
  if (fresh) Fl::add_fd(fd, flag, handler, nullptr);
  return true;
}

void Remove(int fd, std::shared_ptr<FdCallback> Watch::*direction, int flag) {
  auto found = Watches().find(fd);
  if (found == Watches().end() || !(found->second.*direction)) return;
  Fl::remove_fd(fd, flag);
  found->second.*direction = nullptr;
  if (!found->second.readable && !found->second.writable) Watches().erase(found);
}

}  // namespace

bool WatchFdReadable(int fd, FdCallback callback) {
  return Add(fd, std::move(callback), &Watch::readable, FL_READ, OnReadable);
}

bool WatchFdWritable(int fd, FdCallback callback) {
  return Add(fd, std::move(callback), &Watch::writable, FL_WRITE, OnWritable);
}

void UnwatchFdReadable(int fd) { Remove(fd, &Watch::readable, FL_READ); }
void UnwatchFdWritable(int fd) { Remove(fd, &Watch::writable, FL_WRITE); }

}  // namespace platform
