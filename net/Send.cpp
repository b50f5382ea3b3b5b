// Sending texts, buffers and files on the connected socket.

#include <cstring>

#include "base/Streams.h"
#include "net/Psock.h"
#include "net/ScopeExit.h"

namespace {
// The socket is registered without write notifications, so a send that
// would block looks again after this long, or sooner when any other source
// (a cancel, the time-out, a click) wakes the pump.
constexpr std::uint32_t kSendRetryMs = 5;
const char kSendAborted[] = "Socket send aborted";
}  // namespace

void TPowersock::SendBuffer(const char* bytes, std::uint16_t length) {
  ReportStatus(4, "Sending Buffer");
  TimerOn();
  ScopeExit stop([this] { TimerOff(); });
  if (!Canceled) {
    std::size_t count = length;
    if (count == 0) {
      count = strnlen(bytes, kBlockSize);
      if (count > 65535) throw ERangeError();
    }
    const int total = static_cast<int>(count);
    int remaining = total;
    do {
      const int sent = sock::Send(SocketHandle, bytes + (total - remaining), remaining, 0);
      if (sent == 0) break;
      if (sent > 0) {
        remaining -= sent;
      } else {
        CheckSocketError(sock::kErrWouldBlock);
        // The peer takes no data now: let the time-out, a cancel and the
        // rest of the application run while waiting for room.
        platform::WaitAndProcessMessages(kSendRetryMs);
      }
    } while (remaining != 0 && !Canceled);
  }
  if (Canceled) {
    Canceled = false;
    throw EAbortError(kSendAborted);
  }
}

void TPowersock::Write(const std::string& text) {
  ReportStatus(8, "Write");
  if (text.size() > static_cast<std::size_t>(kBlockSize)) throw ERangeError();
  std::memcpy(WorkBuffer, text.data(), text.size());
  WorkBuffer[text.size()] = '\0';
  SendBuffer(WorkBuffer, 0);
}

void TPowersock::Writeln(const std::string& text) {
  ReportStatus(8, "Writeln");
  Write(text + "\r\n");
}

void TPowersock::SendFile(const std::string& fileName) {
  ReportStatus(8, "SendFile");
  {
    TFileStream file(fileName, TFileStream::OpenRead);
    const std::int64_t size = file.Size();
    while (file.Position() != size && !Canceled) {
      const int count = static_cast<int>(file.Read(WorkBuffer, kBlockSize));
      if (count <= 0) break;  // the file shrank under us
      int remaining = count;
      do {
        const int sent = sock::Send(SocketHandle, WorkBuffer + (count - remaining), remaining, 0);
        if (sent == 0) break;
        if (sent > 0) {
          remaining -= sent;
          BytesSent += static_cast<std::uint32_t>(sent);
          Fire(OnPacketSent, this);
          platform::ProcessMessages();
        } else {
          CheckSocketError(sock::kErrWouldBlock);
          platform::WaitAndProcessMessages(kSendRetryMs);
        }
      } while (remaining != 0 && !Canceled);
    }
  }
  if (Canceled) {
    Canceled = false;
    throw EAbortError(kSendAborted);
  }
}
