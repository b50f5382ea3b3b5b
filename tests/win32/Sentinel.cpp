// Proves that Windows programs of this build really run: under Wine without
// its 32-bit half, a 32-bit program exits 0 having printed nothing, so the
// test passes only when this line appears (see CMakeLists.txt).
#include <windows.h>

#include <cstdio>

int main() {
  // A hidden window too: the suites need a display driver, the null one
  // when there is no display.
  HWND window =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  std::printf("ravolin sentinel: %u-bit Windows program ran as process %lu, %s\n",
              static_cast<unsigned>(sizeof(void*) * 8), static_cast<unsigned long>(GetCurrentProcessId()),
              window ? "windows work" : "no window");
  if (window) DestroyWindow(window);
  return 0;
}
