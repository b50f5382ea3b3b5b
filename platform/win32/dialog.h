#pragma once
// Win32 only: the top-level window whose keyboard navigation (Tab between
// controls, default keys) the message pump routes through IsDialogMessage,
// and the keys it takes before that navigation sees them.

#include <cstdint>
#include <functional>

namespace platform {

void SetDialogWindow(void* window);  // an HWND; nullptr: none

// Offered every WM_KEYDOWN and WM_CHAR meant for the dialog window or one of
// its controls, before IsDialogMessage; a filter that returns true has taken
// the key. An empty filter takes none.
using DialogKeyFilter = std::function<bool(unsigned message, std::uintptr_t wParam)>;
void SetDialogKeyFilter(DialogKeyFilter filter);

}  // namespace platform
