// Hidden windows, posted messages, timers and the pump on the Win32 message
// queue of the user-interface thread.
//
// Every class registered here shares one window procedure that looks the
// class's procedure up by its atom. Only the messages the platform model
// knows (timer ticks, application activation and the user range) reach that
// procedure; creation, painting and the rest go to DefWindowProcA, as on the
// other backends, where such messages do not exist.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <mutex>

#include "base/Application.h"

#include "platform/messages.h"
#include "platform/win32/dialog.h"

namespace platform {
namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Class atom -> procedure; only the UI thread registers or reads it.
std::map<ATOM, WindowProc>& Procedures() {
  static std::map<ATOM, WindowProc> procedures;
  return procedures;
}

// A message posted with a beforeDispatch step travels as one private message
// whose wParam names its record here; the record is dropped with its window.
struct DeferredMessage {
  HWND window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::function<void()> beforeDispatch;
};

std::mutex deferredLock;
std::map<std::uint32_t, DeferredMessage> deferred;
std::uint32_t nextDeferredId = 1;

UINT DeferredMessageNumber() {
  static const UINT number = RegisterWindowMessageA("RavolinDeferredMessage");
  return number;
}

HANDLE WakeEvent() {
  static const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  return event;
}

HWND dialogWindow = nullptr;
DialogKeyFilter dialogKeys;

// The thread whose queue the hidden windows belong to: the first one to
// register a class. 0 until then.
DWORD messageThread = 0;
bool quitRequested = false;

// An exception thrown by a window procedure must not unwind through the
// system's dispatch code; it is kept here until the dispatch call has
// returned to us. From the pump it then goes to the application-wide handler
// (as on the other backends, where the loop is the toolkit's); from
// SendWindowMessage it is rethrown to the caller.
thread_local std::exception_ptr pendingException;

std::exception_ptr TakePending() {
  std::exception_ptr error = pendingException;
  pendingException = nullptr;
  return error;
}

void RethrowPending() {
  if (std::exception_ptr error = TakePending()) std::rethrow_exception(error);
}

void ReportPending() { HandleApplicationException(TakePending()); }

bool DeliveredToPlatform(UINT message) {
  return message == WM_TIMER || message == WM_ACTIVATEAPP || message >= WM_USER;
}

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == DeferredMessageNumber()) {
      DeferredMessage entry;
      {
        std::lock_guard<std::mutex> hold(deferredLock);
        auto found = deferred.find(static_cast<std::uint32_t>(wParam));
        if (found == deferred.end()) return 0;
        entry = std::move(found->second);
        deferred.erase(found);
      }
      if (entry.beforeDispatch) entry.beforeDispatch();
      return SharedWindowProc(window, entry.message, entry.wParam, entry.lParam);
    }
    auto found = Procedures().find(static_cast<ATOM>(GetClassWord(window, GCW_ATOM)));
    if (found == Procedures().end() || !DeliveredToPlatform(message))
      return DefWindowProcA(window, message, wParam, lParam);
    return found->second(reinterpret_cast<WindowHandle>(window), message, wParam, lParam);
  } catch (...) {
    if (!pendingException) pendingException = std::current_exception();
    return 0;
  }
}

void DropDeferredFor(HWND window) {
  std::lock_guard<std::mutex> hold(deferredLock);
  for (auto entry = deferred.begin(); entry != deferred.end();) {
    if (entry->second.window == window)
      entry = deferred.erase(entry);
    else
      ++entry;
  }
}

// Dispatches one message taken from the queue.
// True when the dialog window's key filter took the message.
bool TakenAsDialogKey(const MSG& message) {
  if (!dialogKeys || (message.message != WM_KEYDOWN && message.message != WM_CHAR)) return false;
  if (message.hwnd != dialogWindow && !IsChild(dialogWindow, message.hwnd)) return false;
  return dialogKeys(message.message, message.wParam);
}

void Dispatch(MSG& message) {
  if (dialogWindow && TakenAsDialogKey(message)) {
    ReportPending();
    return;
  }
  if (dialogWindow && IsDialogMessageA(dialogWindow, &message)) {
    ReportPending();
    return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  ReportPending();
}

}  // namespace

void SetDialogWindow(void* window) { dialogWindow = static_cast<HWND>(window); }
void SetDialogKeyFilter(DialogKeyFilter filter) { dialogKeys = std::move(filter); }

bool IsWindowClassRegistered(const char* className) {
  WNDCLASSA info;
  return GetClassInfoA(Instance(), className, &info) != FALSE;
}

bool RegisterWindowClass(const char* className, WindowProc procedure) {
  if (messageThread == 0) messageThread = GetCurrentThreadId();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = SharedWindowProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);  // slot 0: the owner
  windowClass.hInstance = Instance();
  windowClass.lpszClassName = className;
  ATOM atom = RegisterClassA(&windowClass);
  if (atom == 0) return false;
  Procedures()[atom] = procedure;
  return true;
}

WindowHandle CreateHiddenWindow(const char* className) {
  if (!IsWindowClassRegistered(className)) return 0;
  HWND window =
      CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
  return reinterpret_cast<WindowHandle>(window);
}

bool DestroyHiddenWindow(WindowHandle window) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  bool destroyed = DestroyWindow(hwnd) != FALSE;
  DropDeferredFor(hwnd);
  return destroyed;
}

bool IsWindowAlive(WindowHandle window) { return window != 0 && IsWindow(reinterpret_cast<HWND>(window)); }

void SetWindowOwner(WindowHandle window, void* owner) {
  SetWindowLongPtrA(reinterpret_cast<HWND>(window), 0, reinterpret_cast<LONG_PTR>(owner));
}

void* GetWindowOwner(WindowHandle window) {
  return reinterpret_cast<void*>(GetWindowLongPtrA(reinterpret_cast<HWND>(window), 0));
}

std::intptr_t DefaultWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  return DefWindowProcA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::function<void()> beforeDispatch) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  if (!beforeDispatch) return PostMessageA(hwnd, message, wParam, lParam) != FALSE;
  if (!IsWindow(hwnd)) return false;
  std::uint32_t id;
  {
    std::lock_guard<std::mutex> hold(deferredLock);
    id = nextDeferredId++;
    if (nextDeferredId == 0) nextDeferredId = 1;
    deferred[id] = DeferredMessage{hwnd, message, wParam, lParam, std::move(beforeDispatch)};
  }
  if (PostMessageA(hwnd, DeferredMessageNumber(), id, 0)) return true;
  std::lock_guard<std::mutex> hold(deferredLock);
  deferred.erase(id);
  return false;
}

std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  if (!IsWindowAlive(window)) return 0;
  LRESULT result = SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
  RethrowPending();
  return result;
}

bool StartWindowTimer(WindowHandle window, std::uintptr_t id, std::uint32_t intervalMs) {
  return SetTimer(reinterpret_cast<HWND>(window), id, intervalMs, nullptr) != 0;
}

bool StopWindowTimer(WindowHandle window, std::uintptr_t id) {
  return KillTimer(reinterpret_cast<HWND>(window), id) != FALSE;
}

// The system makes a timer's tick only when nothing else is queued, so a
// steady stream of socket notifications would hold every timer back for as
// long as it lasts. Due ticks are taken first, and again after each batch
// of other messages; a call takes a bounded number, so that a source that
// never runs dry does not keep it from returning.
namespace {

constexpr int kMessagesPerTimerCheck = 32;
constexpr int kMostMessagesPerCall = 512;

bool DispatchDueTimers() {
  bool handled = false;
  MSG message;
  for (int taken = 0; taken < kMessagesPerTimerCheck && PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE);
       ++taken) {
    handled = true;
    Dispatch(message);
  }
  return handled;
}

}  // namespace

bool ProcessMessages() {
  bool handled = false;
  MSG message;
  for (int taken = 0; taken < kMostMessagesPerCall; ++taken) {
    if (taken % kMessagesPerTimerCheck == 0 && DispatchDueTimers()) handled = true;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
    handled = true;
    if (message.message == WM_QUIT) {  // ends RunMessageLoop; a nested wait goes on pumping
      quitRequested = true;
      break;
    }
    Dispatch(message);
  }
  return handled;
}

void WaitAndProcessMessages(std::uint32_t maxWaitMs) {
  if (ProcessMessages()) return;
  HANDLE wake = WakeEvent();
  MsgWaitForMultipleObjectsEx(1, &wake, maxWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  ProcessMessages();
}

bool OnMessageThread() { return messageThread == 0 || messageThread == GetCurrentThreadId(); }

void Wake() { SetEvent(WakeEvent()); }

void SleepMs(std::uint32_t ms) { Sleep(ms); }

void RunMessageLoop() {
  // A quit request (QuitMessageLoop, or WM_QUIT from a closed main window)
  // is seen by whichever pump runs; this loop ends at its next pass.
  HANDLE wake = WakeEvent();
  while (!quitRequested) {
    if (!ProcessMessages() && !quitRequested)
      MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  quitRequested = false;
}

void QuitMessageLoop() {
  quitRequested = true;
  Wake();
}

}  // namespace platform
