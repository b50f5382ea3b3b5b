#include "platform/win32/relay_window.h"

namespace platform::win32 {

HWND CreateRelayWindow(const char* className, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  if (RegisterClassA(&windowClass) == 0) return nullptr;
  return CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace platform::win32
