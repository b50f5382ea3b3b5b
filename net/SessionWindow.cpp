#include "net/SessionWindow.h"

#include "net/Psock.h"

namespace {

std::intptr_t SessionWindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  auto* session = static_cast<TPowersock*>(platform::GetWindowOwner(window));
  if (session == nullptr || message < kSocketEventMessage)
    return platform::DefaultWindowProc(window, message, wParam, lParam);
  TSocketMessage packed{message, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam), 0};
  session->HandleSocketMessage(packed);
  return 0;
}

}  // namespace

platform::WindowHandle CreateSessionWindow(TPowersock* owner) {
  return platform::AllocateHiddenWindow(kSessionWindowClass, SessionWindowProc, owner);
}
