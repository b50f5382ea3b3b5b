#include "panel/win32/Win32PanelView.h"

void Win32PanelView::ShowErrorBox(const std::string& title, const std::string& text) {
  MessageBoxA(window_.Handle(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}
