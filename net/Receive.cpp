// Reading lines and capturing everything up to the end of the data.

#include <algorithm>
#include <cstring>

#include "base/Streams.h"
#include "net/Psock.h"
#include "net/ScopeExit.h"

namespace {

// One pass of a data loop ends here: after a socket call that moved data the
// pump only runs what is pending; after one that would block it waits for
// any source (the socket, the time-out, a cancel) instead of spinning.
void Pace(bool progressed) {
  if (progressed)
    platform::ProcessMessages();
  else
    platform::WaitAndProcessMessages();
}

}  // namespace

std::string TPowersock::ReadLn() {
  ReportStatus(8, "ReadLn");
  TimerOn();
  ScopeExit stop([this] { TimerOff(); });
  std::string result;
  int taken = 0;
  int lineEnd = 0;  // peeked bytes up to and including the line feed
  do {
    if (taken > kBlockSize) throw ERangeError();
    char* window = WorkBuffer + taken;
    const int peeked = sock::Recv(SocketHandle, window, std::min(kBlockSize, kWorkBufferSize - taken), sock::kMsgPeek);
    bool progressed = false;
    if (peeked == 0) {  // the peer closed; an unfinished line is dropped
      RaiseCloseError();
      return {};
    }
    if (peeked > 0) {
      if (const void* lf = std::memchr(window, '\n', static_cast<std::size_t>(peeked))) {
        lineEnd = static_cast<int>(static_cast<const char*>(lf) - window) + 1;
        break;
      }
      const int received = sock::Recv(SocketHandle, window, peeked, 0);
      if (received > 0) {
        result.append(window, static_cast<std::size_t>(received));
        taken += received;
        progressed = true;
      }
    } else {
      LastErrorNo = sock::LastError();
      if (LastErrorNo == sock::kErrNotConn) {
        RaiseCloseError();
        result.clear();
        break;
      }
      CheckSocketError(sock::kErrWouldBlock);
    }
    Pace(progressed);
  } while (!Canceled);

  if (Canceled) {
    Canceled = false;
    throw EAbortError("Socket readln aborted");
  }
  if (lineEnd > 0) {
    char* window = WorkBuffer + taken;
    const int received = sock::Recv(SocketHandle, window, lineEnd, 0);
    if (received > 0) result.append(window, static_cast<std::size_t>(received));
  }
  return result;
}

void TPowersock::CaptureFile(const std::string& fileName) {
  ReportStatus(8, "CaptureFile");
  BytesRecvd = 0;
  TimerOn();
  {
    ScopeExit stop([this] { TimerOff(); });
    TFileStream file(fileName, TFileStream::Create);
    while (!Canceled) {
      const int count = sock::Recv(SocketHandle, WorkBuffer, kBlockSize, 0);
      if (count == 0) break;
      if (count > 0) {
        file.WriteBuffer(WorkBuffer, count);
        BytesRecvd += static_cast<std::uint32_t>(count);
        Fire(OnPacketRecvd, this);
        TimerOn();
      } else {
        LastErrorNo = sock::LastError();
        if (LastErrorNo == sock::kErrNotConn) break;
        CheckSocketError(sock::kErrWouldBlock);
      }
      Pace(count > 0);
    }
  }
  if (Canceled) {
    Canceled = false;
    throw EAbortError("Socket send aborted");
  }
  RaiseCloseError();  // the data ended with a reset; the file keeps what came
}

std::string& TPowersock::CaptureString(std::string& text, int maximum) {
  ReportStatus(8, "Capture String");
  text.clear();
  BytesRecvd = 0;
  TimerOn();
  ScopeExit stop([this] { TimerOff(); });
  while (!Canceled && (maximum == -1 || static_cast<long long>(text.size()) < maximum)) {
    const int count = sock::Recv(SocketHandle, WorkBuffer, kBlockSize, 0);
    if (count == 0) {
      RaiseCloseError();
      break;
    }
    if (count > 0) {
      text.append(WorkBuffer, static_cast<std::size_t>(count));
      BytesRecvd += static_cast<std::uint32_t>(count);
      Fire(OnPacketRecvd, this);
      TimerOn();
    } else {
      LastErrorNo = sock::LastError();
      if (LastErrorNo == sock::kErrNotConn) {
        RaiseCloseError();
        break;
      }
      CheckSocketError(sock::kErrWouldBlock);
    }
    Pace(count > 0);
  }
  if (Canceled) {
    Canceled = false;
    throw EAbortError("Socket capture aborted");
  }
  return text;
}

std::string TPowersock::Transaction(const std::string& command) {
  ReportStatus(8, "Transaction");
  ReplyNumber = 0;
  Writeln(command);
  ReplyMessage = ReadLn();
  if (!ReplyMessage.empty()) {
    ReportStatus(1, ReplyMessage);
    long long value = 0;
    int digits = 0;
    while (digits < 10 && digits < static_cast<int>(ReplyMessage.size()) && ReplyMessage[digits] >= '0' &&
           ReplyMessage[digits] <= '9')
      value = value * 10 + (ReplyMessage[digits++] - '0');
    if (digits > 0) {
      if (value > 32767) throw ERangeError();
      ReplyNumber = static_cast<std::int16_t>(value);
    }
  }
  return ReplyMessage;
}
