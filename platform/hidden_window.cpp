// The steps every owner of a hidden window takes, on any backend.

#include "platform/messages.h"

namespace platform {

WindowHandle AllocateHiddenWindow(const char* className, WindowProc procedure, void* owner) {
  if (!IsWindowClassRegistered(className) && !RegisterWindowClass(className, procedure)) return 0;
  WindowHandle window = CreateHiddenWindow(className);
  if (window != 0 && owner != nullptr) SetWindowOwner(window, owner);
  return window;
}

}  // namespace platform
