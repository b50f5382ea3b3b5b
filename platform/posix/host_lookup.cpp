// Asynchronous name lookup: getaddrinfo on a detached worker thread, the
// reply posted to the window. The worker shares only a reference-counted task
// with the rest of the program, so it never touches memory that was freed
// while it waited on the resolver. The entry is written into the caller's
// buffer on the user-interface thread right before the reply is handled, and
// not at all once the request was cancelled or the window destroyed.

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "base/Assert.h"

#include "platform/loop_services.h"
#include "platform/posix/host_entry.h"
#include "platform/posix/socket_errors.h"
#include "platform/sockets.h"

namespace sock {
namespace {

struct LookupTask {
  AsyncTask id = 0;
  platform::WindowHandle window = 0;
  std::uint32_t message = 0;
  std::string name;
  char* buffer = nullptr;
  int bufferLength = 0;
  std::atomic<bool> cancelled{false};
  bool replied = false;  // user-interface thread only
};

// Requests that may still be cancelled. An entry expires when its reply was
// handled or dropped.
std::map<AsyncTask, std::weak_ptr<LookupTask>>& Pending() {
  RAVOLIN_ASSERT(platform::OnMessageThread(), "lookups are started and cancelled on the user-interface thread");
  static auto* pending = new std::map<AsyncTask, std::weak_ptr<LookupTask>>;
  return *pending;
}

AsyncTask NextId() {
  static AsyncTask next = 0;
  if (++next == 0) ++next;
  return next;
}

void ForgetExpired() {
  auto& pending = Pending();
  for (auto it = pending.begin(); it != pending.end();) it = it->second.expired() ? pending.erase(it) : std::next(it);
}

int Resolve(const std::string& name, detail::HostAnswer& answer) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* found = nullptr;
  const int code = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (code != 0) return detail::ErrorFromLookup(code, errno);
  answer.name = found->ai_canonname ? found->ai_canonname : name;
  for (addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family != AF_INET) continue;
    const std::uint32_t address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
    if (std::find(answer.addresses.begin(), answer.addresses.end(), address) == answer.addresses.end())
      answer.addresses.push_back(address);
  }
  ::freeaddrinfo(found);
  return answer.addresses.empty() ? kErrNoData : 0;
}

void Work(std::shared_ptr<LookupTask> task) {
  auto answer = std::make_shared<detail::HostAnswer>();
  int error = Resolve(task->name, *answer);
  if (task->cancelled) return;
  int length = 0;
  if (error == 0) {
    length = detail::HostEntrySize(*answer, task->buffer);
    if (length > task->bufferLength) error = kErrNoBufs;  // length tells how much would be needed
  }
  platform::PostWindowMessageIf(
      task->window, task->message, task->id,
      MakeSelectLParam(static_cast<std::uint16_t>(std::min(length, 0xFFFF)), static_cast<std::uint16_t>(error)),
      [task, answer, error] {
        if (task->cancelled) return false;
        task->replied = true;
        if (error == 0) detail::WriteHostEntry(*answer, task->buffer, task->bufferLength);
        return true;
      });
}

}  // namespace

AsyncTask AsyncGetHostByName(platform::WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                             int bufferLength) {
  if (!name || !buffer || bufferLength < 0) {
    detail::SetLastError(kErrFault);
    return 0;
  }
  if (!platform::IsWindowAlive(window)) {
    detail::SetLastError(kErrInvalid);
    return 0;
  }
  ForgetExpired();
  auto task = std::make_shared<LookupTask>();
  task->id = NextId();
  task->window = window;
  task->message = message;
  task->name = name;
  task->buffer = buffer;
  task->bufferLength = bufferLength;
  try {
    std::thread(Work, task).detach();
  } catch (const std::system_error&) {
    detail::SetLastError(kErrNoBufs);
    return 0;
  }
  Pending()[task->id] = task;
  return task->id;
}

int CancelAsyncRequest(AsyncTask id) {
  auto& pending = Pending();
  auto found = pending.find(id);
  std::shared_ptr<LookupTask> task = found == pending.end() ? nullptr : found->second.lock();
  if (found != pending.end()) pending.erase(found);
  if (!task || task->replied) {
    detail::SetLastError(kErrInvalid);  // unknown, or already answered
    return kSocketError;
  }
  task->cancelled = true;
  return 0;
}

}  // namespace sock
