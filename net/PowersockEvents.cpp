// What reaches a session from its window: socket notifications, lookup
// completions and time-out ticks.

#include "net/Psock.h"

void TPowersock::HandleSocketMessage(TSocketMessage& message) {
  try {
    // The reply of a lookup that was withdrawn or replaced must not end a
    // later wait, nor change Succeeded under it.
    if (message.Msg == kLookupDoneMessage &&
        (LookupTask == 0 || message.WParam != static_cast<std::uint32_t>(LookupTask)))
      return;
    const std::uint16_t event = sock::SelectEvent(message.LParam);
    // A connect or close notification for a socket this session has already
    // closed would otherwise end the next connection's wait or close it.
    if (message.Msg == kSocketEventMessage && (event == sock::kFdConnect || event == sock::kFdClose) &&
        message.WParam != SocketHandle)
      return;

    Succeeded = sock::SelectError(message.LParam) == 0;
    if (message.Msg == kSocketEventMessage) {
      switch (event) {
        case sock::kFdRead:
          Fire(OnDataArrived, this);  // what it raises is swallowed below
          break;
        case sock::kFdAccept:
          Connected = true;
          Fire(OnAcceptRequest, this);
          break;
        case sock::kFdConnect:
          if (Succeeded) {
            Connected = true;
            ConnectMade = true;
            Fire(OnConnect, this);
          }
          break;
        case sock::kFdClose:
          if (!Succeeded) CloseError = sock::SelectError(message.LParam);
          // While unread data remains the readers see the end themselves.
          if (!DataAvailable()) RequestCloseSocket();
          break;
        default: break;
      }
    } else if (message.Msg == kLookupDoneMessage) {
      LookupTask = 0;
      WaitDone = true;
    }
  } catch (...) {
    // Nothing leaves the window procedure.
  }
}

void TPowersock::TimerOn() {
  ReportStatus(kStatusTrace, "Timer On");
  TimedOut = false;
  if (TimeOut < 0) throw ERangeError();
  Timer->SetInterval(static_cast<std::uint32_t>(TimeOut));
  Timer->SetEnabled(true);
}

void TPowersock::TimerOff() {
  ReportStatus(kStatusTrace, "Timer Off");
  if (Timer != nullptr) Timer->SetEnabled(false);
}

void TPowersock::TimerFired(TComponent*) {
  ReportStatus(kStatusTrace, "Timer Triggered");
  TimerOff();
  TimedOut = true;
  WaitDone = true;
  Abort();
}
