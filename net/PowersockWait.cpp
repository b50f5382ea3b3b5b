// How a session operation waits: the one loop that pumps messages, with the
// time-out around it and the turning of a cancel or time-out into the
// operation's error; and the send and capture passes the transfers run in it.

#include "base/Assert.h"
#include "base/Exception.h"
#include "net/Psock.h"
#include "net/ScopeExit.h"

void TPowersock::Wait(const WaitPlan& plan, const std::function<void()>& start, const std::function<WaitPass()>& pass) {
  RAVOLIN_ASSERT(platform::OnMessageThread(), "a session waits on the user-interface thread");
  RAVOLIN_ASSERT(SessionWindow == 0 || platform::IsWindowAlive(SessionWindow),
                 "the session window lives as long as the session");
  WaitPass last = WaitPass::Idle;
  {
    if (plan.timed) TimerOn();
    ScopeExit stop([this, &plan] {
      if (plan.timed) TimerOff();
    });
    if (start) start();
    for (bool first = true;; first = false) {
      if (!(first && plan.passFirst) && (Canceled || (plan.endOnTimeOut && TimedOut))) break;
      last = pass();
      if (last == WaitPass::Done || last == WaitPass::Return) break;
      if (last == WaitPass::Moved) {
        if (plan.rearmOnMove) TimerOn();
        platform::ProcessMessages();
      } else if (last == WaitPass::Idle) {
        // Blocks until a source is ready (the socket, the time-out, a cancel,
        // a click) rather than spinning.
        platform::WaitAndProcessMessages(plan.idleWaitMs);
      }
    }
  }
  if (last != WaitPass::Return) RaiseWaitEnd(plan.errors);
}

void TPowersock::AwaitNotification(const WaitPlan& plan, const std::function<void()>& start,
                                   const std::function<bool()>& arrived) {
  Wait(plan, start, [&arrived] { return arrived() ? WaitPass::Done : WaitPass::Idle; });
}

void TPowersock::RaiseWaitEnd(const WaitErrors& errors) {
  if (errors.timedOut != nullptr && TimedOut) throw ESockError(errors.timedOut);
  if (!Canceled) return;
  if (errors.aborted != nullptr) {
    Canceled = false;
    throw EAbortError(errors.aborted);
  }
  if (errors.canceled != nullptr) throw ESockError(errors.canceled);
}

TPowersock::WaitPass TPowersock::SendPass(const char* block, int size, int& remaining, bool countBlocks) {
  const int sent = sock::Send(SocketHandle, block + (size - remaining), remaining, 0);
  if (sent == 0) {
    remaining = 0;
    return WaitPass::Done;
  }
  if (sent < 0) {
    // The socket is registered without write notifications, so an Idle pass
    // of a send looks again after a short while.
    CheckSocketError(sock::kErrWouldBlock);
    return WaitPass::Idle;
  }
  remaining -= sent;
  if (!countBlocks) return remaining == 0 ? WaitPass::Done : WaitPass::Again;
  BytesSent += static_cast<std::uint32_t>(sent);
  Fire(OnPacketSent, this);
  return WaitPass::Moved;
}

TPowersock::WaitPass TPowersock::CapturePass(const std::function<void(const char* data, int count)>& keep) {
  const int count = sock::Recv(SocketHandle, WorkBuffer, kBlockSize, 0);
  if (count == 0) return WaitPass::Done;
  if (count > 0) {
    keep(WorkBuffer, count);
    BytesRecvd += static_cast<std::uint32_t>(count);
    Fire(OnPacketRecvd, this);
    return WaitPass::Moved;
  }
  LastErrorNo = sock::LastError();
  if (LastErrorNo == sock::kErrNotConn) return WaitPass::Done;
  CheckSocketError(sock::kErrWouldBlock);
  return WaitPass::Idle;
}
