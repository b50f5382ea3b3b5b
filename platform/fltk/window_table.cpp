// Hidden windows: a table of handle -> (procedure, owner slot), and the class
// registry they are created from. Handles are never reused, so a message
// queued for a destroyed window cannot reach a newer one.

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/fltk/loop_internal.h"
#include "platform/messages.h"

namespace platform {
namespace {

struct WindowEntry {
  WindowProc procedure;
  void* owner;
};

struct WindowTable {
  std::mutex mutex;  // posts from other threads look windows up
  std::unordered_map<std::string, WindowProc> classes;
  std::unordered_map<WindowHandle, WindowEntry> windows;
  WindowHandle nextHandle = 0x10000;
};

// Never destroyed: a lookup worker may still post while the process exits.
WindowTable& Table() {
  static WindowTable* table = new WindowTable;
  return *table;
}

}  // namespace

bool loop::FindProcedure(WindowHandle window, WindowProc* procedure) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.windows.find(window);
  if (found == table.windows.end()) return false;
  *procedure = found->second.procedure;
  return true;
}

bool IsWindowClassRegistered(const char* className) {
  if (!className) return false;
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.classes.count(className) != 0;
}

bool RegisterWindowClass(const char* className, WindowProc procedure) {
  if (!className || !*className || !procedure) return false;
  loop::EnsureStarted();
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.classes.emplace(className, procedure).second;
}

WindowHandle CreateHiddenWindow(const char* className) {
  if (!className) return 0;
  loop::EnsureStarted();
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.classes.find(className);
  if (found == table.classes.end()) return 0;
  WindowHandle handle = table.nextHandle++;
  table.windows.emplace(handle, WindowEntry{found->second, nullptr});
  return handle;
}

bool DestroyHiddenWindow(WindowHandle window) {
  {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.windows.erase(window) == 0) return false;
  }
  loop::StopTimersOf(window);
  return true;
}

bool IsWindowAlive(WindowHandle window) {
  WindowProc procedure;
  return loop::FindProcedure(window, &procedure);
}

void SetWindowOwner(WindowHandle window, void* owner) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.windows.find(window);
  if (found != table.windows.end()) found->second.owner = owner;
}

void* GetWindowOwner(WindowHandle window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.windows.find(window);
  return found == table.windows.end() ? nullptr : found->second.owner;
}

std::intptr_t DefaultWindowProc(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  WindowProc procedure;
  if (!loop::FindProcedure(window, &procedure)) return 0;
  return procedure(window, message, wParam, lParam);
}

}  // namespace platform
