#pragma once
// Win32 only: the top-level window whose keyboard navigation (Tab between
// controls, default keys) the message pump routes through IsDialogMessage.

namespace platform {

void SetDialogWindow(void* window);  // an HWND; nullptr: none

}  // namespace platform
