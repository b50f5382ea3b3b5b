// Moving data over the connected socket: sending texts, buffers and files,
// the command-and-reply exchange built on them, reading lines, and capturing
// everything up to the end of the data. Each runs in the session's one wait
// (PowersockWait.cpp).

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/Streams.h"
#include "net/Psock.h"

namespace {

const char kSendAborted[] = "Socket send aborted";

// The socket is registered without write notifications, so a send that
// would block looks again after this long, or sooner when any other source
// (a cancel, the time-out, a click) wakes the pump.
constexpr std::uint32_t kSendRetryMs = 5;

// SendBuffer pumps only while the peer takes no data; SendFile after every
// block as well, and runs without the time-out.
constexpr TPowersock::WaitPlan kSendBufferWait{
    .timed = true, .idleWaitMs = kSendRetryMs, .errors = {.aborted = kSendAborted}};
constexpr TPowersock::WaitPlan kSendFileWait{.idleWaitMs = kSendRetryMs, .errors = {.aborted = kSendAborted}};

// ReadLn peeks once even when a cancel is pending; the captures re-arm the
// time-out after each block, which does not restart a running timer.
constexpr TPowersock::WaitPlan kReadLnWait{
    .timed = true, .passFirst = true, .errors = {.aborted = "Socket readln aborted"}};
constexpr TPowersock::WaitPlan kCaptureFileWait{
    .timed = true, .rearmOnMove = true, .errors = {.aborted = kSendAborted}};
constexpr TPowersock::WaitPlan kCaptureStringWait{
    .timed = true, .rearmOnMove = true, .errors = {.aborted = "Socket capture aborted"}};

}  // namespace

// --- sending -----------------------------------------------------------------

void TPowersock::SendBuffer(const char* bytes, std::uint16_t length) {
  ReportStatus(kStatusStep, "Sending Buffer");
  int total = -1;  // measured by the first pass, so a pending cancel comes first
  int remaining = 0;
  Wait(kSendBufferWait, {}, [&] {
    if (total < 0) {
      std::size_t count = length;
      if (count == 0) {
        count = strnlen(bytes, kBlockSize);
        if (count > 65535) throw ERangeError();
      }
      total = remaining = static_cast<int>(count);
    }
    return SendPass(bytes, total, remaining, false);
  });
}

void TPowersock::Write(const std::string& text) {
  ReportStatus(kStatusTrace, "Write");
  if (text.size() > static_cast<std::size_t>(kBlockSize)) throw ERangeError();
  std::memcpy(WorkBuffer, text.data(), text.size());
  WorkBuffer[text.size()] = '\0';
  SendBuffer(WorkBuffer, 0);
}

void TPowersock::Writeln(const std::string& text) {
  ReportStatus(kStatusTrace, "Writeln");
  Write(text + "\r\n");
}

void TPowersock::SendFile(const std::string& fileName) {
  ReportStatus(kStatusTrace, "SendFile");
  TFileStream file(fileName, TFileStream::OpenRead);
  const std::int64_t size = file.Size();
  int block = 0;
  int remaining = 0;
  Wait(kSendFileWait, {}, [&] {
    if (remaining == 0) {
      if (file.Position() == size) return WaitPass::Done;
      block = static_cast<int>(file.Read(WorkBuffer, kBlockSize));
      if (block <= 0) return WaitPass::Done;  // the file shrank under us
      remaining = block;
    }
    const WaitPass sent = SendPass(WorkBuffer, block, remaining, true);
    // A peer that takes none of a block ends that block only.
    return sent == WaitPass::Done ? WaitPass::Again : sent;
  });
}

std::string TPowersock::Transaction(const std::string& command) {
  ReportStatus(kStatusTrace, "Transaction");
  ReplyNumber = 0;
  Writeln(command);
  ReplyMessage = ReadLn();
  if (!ReplyMessage.empty()) {
    ReportStatus(kStatusReply, ReplyMessage);
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

// --- receiving ---------------------------------------------------------------

std::string TPowersock::ReadLn() {
  ReportStatus(kStatusTrace, "ReadLn");
  std::string result;
  int taken = 0;
  int lineEnd = 0;  // peeked bytes up to and including the line feed
  Wait(kReadLnWait, {}, [&] {
    if (taken > kBlockSize) throw ERangeError();
    char* window = WorkBuffer + taken;
    const int peeked = sock::Recv(SocketHandle, window, std::min(kBlockSize, kWorkBufferSize - taken), sock::kMsgPeek);
    if (peeked == 0) {  // the peer closed; an unfinished line is dropped
      RaiseCloseError();
      result.clear();
      return WaitPass::Return;
    }
    if (peeked > 0) {
      if (const void* lf = std::memchr(window, '\n', static_cast<std::size_t>(peeked))) {
        lineEnd = static_cast<int>(static_cast<const char*>(lf) - window) + 1;
        return WaitPass::Done;
      }
      const int received = sock::Recv(SocketHandle, window, peeked, 0);
      if (received <= 0) return WaitPass::Idle;
      result.append(window, static_cast<std::size_t>(received));
      taken += received;
      return WaitPass::Moved;
    }
    LastErrorNo = sock::LastError();
    if (LastErrorNo == sock::kErrNotConn) {
      RaiseCloseError();
      result.clear();
      return WaitPass::Done;
    }
    CheckSocketError(sock::kErrWouldBlock);
    return WaitPass::Idle;
  });
  if (lineEnd > 0) {
    char* window = WorkBuffer + taken;
    const int received = sock::Recv(SocketHandle, window, lineEnd, 0);
    if (received > 0) result.append(window, static_cast<std::size_t>(received));
  }
  return result;
}

void TPowersock::CaptureFile(const std::string& fileName) {
  ReportStatus(kStatusTrace, "CaptureFile");
  BytesRecvd = 0;
  std::optional<TFileStream> file;
  Wait(
      kCaptureFileWait, [&] { file.emplace(fileName, TFileStream::Create); },
      [&] { return CapturePass([&](const char* data, int count) { file->WriteBuffer(data, count); }); });
  file.reset();
  RaiseCloseError();  // the data ended with a reset; the file keeps what came
}

std::string& TPowersock::CaptureString(std::string& text, int maximum) {
  ReportStatus(kStatusTrace, "Capture String");
  text.clear();
  BytesRecvd = 0;
  Wait(kCaptureStringWait, {}, [&] {
    if (maximum != -1 && static_cast<long long>(text.size()) >= maximum) return WaitPass::Done;
    const WaitPass pass =
        CapturePass([&](const char* data, int count) { text.append(data, static_cast<std::size_t>(count)); });
    if (pass == WaitPass::Done) RaiseCloseError();
    return pass;
  });
  return text;
}
