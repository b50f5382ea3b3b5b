#pragma once
// Hidden windows that carry socket notifications and timer ticks to the
// object that owns them. Classes are registered on first use.

#include <cstdint>

#include "platform/messages.h"

// Window class names of the session window and of the timer window.
inline constexpr const char* kSessionWindowClass = "PsockWindowClass";
inline constexpr const char* kTimerWindowClass = "TmrWindowClass";

// Notification messages on the session window.
inline constexpr std::uint32_t kSocketEventMessage = platform::kWmUser + 101;  // 1125
inline constexpr std::uint32_t kLookupDoneMessage = platform::kWmUser + 102;   // 1126

// A message as the session window hands it to its owner.
struct TSocketMessage {
  std::uint32_t Msg;
  std::uint32_t WParam;
  std::uint32_t LParam;
  std::uint32_t Result;
};

class TPowersock;

// The session window of a session (class "PsockWindowClass"): messages from
// 1125 up go to the owner's HandleSocketMessage, the rest to the default
// procedure.
platform::WindowHandle CreateSessionWindow(TPowersock* owner);
