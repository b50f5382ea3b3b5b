// Asynchronous name lookups on WSAAsyncGetHostByName.
//
// Winsock writes the host entry from its own thread at any time before it
// posts the reply, so it writes into a buffer of ours, and the reply goes to
// a relay window of ours. The relay forwards the reply to the caller's window
// and copies the entry into the caller's buffer just before the caller sees
// the message, never after CancelAsyncRequest and never for a window that is
// gone. An abandoned lookup thus never writes into memory its caller may
// have freed.

#include <winsock2.h>

#include <map>
#include <memory>

#include "platform/sockets.h"
#include "platform/win32/host_entry.h"
#include "platform/win32/relay_window.h"

namespace sock {
namespace {

constexpr UINT kRelayMessage = WM_USER + 1;
constexpr char kRelayClass[] = "RavolinLookupRelay";

struct Lookup {
  platform::WindowHandle window;
  std::uint32_t message;
  char* callerBuffer;
  int callerLength;
  bool cancelled = false;
  char reply[MAXGETHOSTSTRUCT];
};

// Lookups Winsock still works on, by task; and every lookup not yet
// delivered or dropped, so that a cancel reaches one already relayed.
// UI thread only.
std::map<HANDLE, std::shared_ptr<Lookup>> inFlight;
std::map<HANDLE, std::weak_ptr<Lookup>> cancellable;

void Relay(HANDLE task, LPARAM reply) {
  auto found = inFlight.find(task);
  if (found == inFlight.end()) return;
  std::shared_ptr<Lookup> lookup = std::move(found->second);
  inFlight.erase(found);
  if (lookup->cancelled) {
    cancellable.erase(task);
    return;
  }
  int error = WSAGETASYNCERROR(reply);
  int length = WSAGETASYNCBUFLEN(reply);
  if (error == 0) {
    // Measured now, on a scratch copy, so the reply length is known when the
    // message is posted; the caller's own buffer is written only later.
    char scratch[MAXGETHOSTSTRUCT];
    length = PackHostEntry(*reinterpret_cast<const HostEntry*>(lookup->reply), scratch, sizeof scratch);
    if (length < 0 || length > lookup->callerLength) {
      error = WSAENOBUFS;
      length = 0;
    }
  }
  LPARAM forwarded = MakeSelectLParam(static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(error));
  auto copy = [lookup, error, task] {
    cancellable.erase(task);
    if (lookup->cancelled || error != 0) return;
    PackHostEntry(*reinterpret_cast<const HostEntry*>(lookup->reply), lookup->callerBuffer, lookup->callerLength);
  };
  if (!platform::PostWindowMessage(lookup->window, lookup->message, reinterpret_cast<std::uintptr_t>(task), forwarded,
                                   copy))
    cancellable.erase(task);
}

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRelayMessage) {
    Relay(reinterpret_cast<HANDLE>(wParam), lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND RelayWindow() {
  static HWND window = platform::win32::CreateRelayWindow(kRelayClass, RelayProc);
  return window;
}

}  // namespace

AsyncTask AsyncGetHostByName(platform::WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                             int bufferLength) {
  HWND relay = RelayWindow();
  if (!relay) return 0;
  auto lookup = std::make_shared<Lookup>();
  lookup->window = window;
  lookup->message = message;
  lookup->callerBuffer = buffer;
  lookup->callerLength = bufferLength;
  HANDLE task = WSAAsyncGetHostByName(relay, kRelayMessage, name, lookup->reply, sizeof lookup->reply);
  if (!task) return 0;
  // A handle is handed out again only once its earlier lookup has finished,
  // so a cancelled lookup still listed under it is done with its buffer.
  inFlight[task] = lookup;
  cancellable[task] = lookup;
  return reinterpret_cast<AsyncTask>(task);
}

int CancelAsyncRequest(AsyncTask task) {
  HANDLE handle = reinterpret_cast<HANDLE>(task);
  auto found = cancellable.find(handle);
  std::shared_ptr<Lookup> lookup = found == cancellable.end() ? nullptr : found->second.lock();
  if (!lookup) {
    WSASetLastError(WSAEINVAL);
    return kSocketError;
  }
  lookup->cancelled = true;
  cancellable.erase(found);
  // A reply that still comes finds the lookup cancelled and is dropped. The
  // lookup's buffer stays with it even when Winsock accepts the cancel: some
  // Winsocks (Wine's) accept it and go on to finish the lookup into that
  // buffer, so it is freed only when a reply has arrived, or never.
  if (inFlight.count(handle)) WSACancelAsyncRequest(handle);
  return 0;
}

}  // namespace sock
