// The simulated radio behind the USB access library's seven entry points.
// One radio, at most a handful of open pipes; every call is logged when the
// log is switched on, and failures leave their reason in errno (and, on
// Windows, the thread's last error) as the real library does.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "RadioModel.h"
#include "SimConfig.h"
#include "SimError.h"
#include "SimLog.h"
#include "mpusbapi/mpusbapi.h"

namespace {

constexpr const char* kDeviceIdentity = "vid_04d8&pid_000c";
constexpr const char* kEndpoint = "\\MCHP_EP1";
constexpr std::uint32_t kVersion = 0x00010000;  // 1.0.0.0

struct Pipe {
  bool open = false;
  std::uint32_t direction = 0;
};

struct Session {
  std::mutex mutex;
  bool configured = false;
  sim::SimConfig config;
  sim::RadioModel radio;
  Pipe pipes[8];
  std::uint64_t packets = 0;  // packets written since the radio was attached
  bool gone = false;          // vanished for good
  bool unplugged = false;     // while the unplug file exists
  bool timeOutUsed = false;
  std::optional<sim::RadioAnswer> pendingReply;
  std::uint32_t lastWriteTimeout = 0;
};

Session& TheSession() {
  static Session* session = new Session;  // never destroyed: calls may come during exit
  return *session;
}

void Log(Session& s, const std::string& line) { sim::WriteLogLine(s.config.logDestination, line); }

// The cable, pulled while the unplug file exists, as each call finds it.
// The handles stay valid meanwhile. A radio plugged in again has been
// without power: it has forgotten what it was tuned to.
void FollowCable(Session& s) {
  if (s.config.unplugFile.empty()) return;
  std::error_code ignored;
  const bool pulled = std::filesystem::exists(s.config.unplugFile, ignored);
  if (pulled == s.unplugged) return;
  s.unplugged = pulled;
  s.pendingReply.reset();
  if (pulled) {
    Log(s, "SIM radio unplugged (" + s.config.unplugFile + " exists)");
  } else {
    s.radio = sim::RadioModel{};
    Log(s, "SIM radio plugged in again");
  }
}

void Attach(Session& s) {
  s.config = sim::LoadSimConfig();
  s.configured = true;
  s.radio = sim::RadioModel{};
  s.packets = 0;
  s.gone = false;
  s.unplugged = false;
  s.timeOutUsed = false;
  s.pendingReply.reset();
  Log(s, sim::DescribeSimConfig(s.config));
}

void EnsureConfigured(Session& s) {
  if (!s.configured) Attach(s);
  FollowCable(s);
}

bool Away(const Session& s) { return s.gone || s.unplugged; }
const char* AwayReason(const Session& s) { return s.gone ? "radio gone (ENODEV)" : "radio unplugged (ENODEV)"; }

bool AnyPipeOpen(const Session& s) {
  return std::any_of(std::begin(s.pipes), std::end(s.pipes), [](const Pipe& p) { return p.open; });
}

Pipe* FindPipe(Session& s, void* handle, std::uint32_t direction) {
  for (Pipe& p : s.pipes)
    if (&p == handle && p.open && p.direction == direction) return &p;
  return nullptr;
}

const char* PipeName(std::uint32_t direction) { return direction == MPUSB_WRITE_DIRECTION ? "out" : "in"; }

std::uint32_t Fail(Session& s, const std::string& line, int error) {
  Log(s, line);
  sim::SetFailureReason(error);
  return 0;
}

void Unplug(Session& s) {
  s.gone = true;
  s.pendingReply.reset();
  Log(s, "SIM radio unplugged after " + std::to_string(*s.config.vanishAfter) + " packets");
}

bool FailsNow(const Session& s, sim::FailingCall call) { return s.config.failingCall == call; }

std::uint32_t Read(void* handle, void* data, std::uint32_t length, std::uint32_t* received, std::uint32_t timeoutMs,
                   const char* label) {
  Session& s = TheSession();
  std::lock_guard lock(s.mutex);
  EnsureConfigured(s);
  const std::string what = std::string("FAIL ") + label;
  if (FindPipe(s, handle, MPUSB_READ_DIRECTION) == nullptr)
    return Fail(s, what + ": not an open read pipe (EBADF)", EBADF);
  if (Away(s)) return Fail(s, what + ": " + AwayReason(s), ENODEV);
  if (data == nullptr || received == nullptr) return Fail(s, what + ": no buffer (EINVAL)", EINVAL);
  if (s.config.vanishAfter && FailsNow(s, sim::FailingCall::Read) && s.packets > *s.config.vanishAfter) {
    Unplug(s);
    return Fail(s, what + ": radio gone (ENODEV)", ENODEV);
  }
  const std::string waited =
      "write " + std::to_string(s.lastWriteTimeout) + " ms, read " + std::to_string(timeoutMs) + " ms";
  if (s.config.timeOutPacket && FailsNow(s, sim::FailingCall::Read) && !s.timeOutUsed && s.pendingReply &&
      s.packets == *s.config.timeOutPacket) {
    s.timeOutUsed = true;
    s.pendingReply.reset();
    return Fail(s, what + ": timed out (ETIMEDOUT; " + waited + ")", ETIMEDOUT);
  }
  if (!s.pendingReply) return Fail(s, what + ": nothing to answer, timed out (ETIMEDOUT)", ETIMEDOUT);

  const sim::RadioAnswer answer = *s.pendingReply;
  s.pendingReply.reset();
  std::uint32_t count = answer.replyLength;
  std::string note;
  switch (s.config.reply) {
    case sim::ReplyStyle::Normal:
      if (count > length)
        return Fail(
            s,
            what + ": radio sent " + std::to_string(count) + " bytes, " + std::to_string(length) + " asked (EOVERFLOW)",
            EOVERFLOW);
      if (count < length) note = ", short reply";
      break;
    case sim::ReplyStyle::Short:
      count = length > 0 ? length - 1 : 0;
      note = ", short reply";
      break;
    case sim::ReplyStyle::Empty:
      count = 0;
      note = ", short reply";
      break;
    case sim::ReplyStyle::Long:
      count = length + 1;  // reported only: never more than the buffer is filled
      note = ", longer than asked";
      break;
  }
  std::memcpy(data, answer.reply.data(), std::min<std::uint32_t>({count, length, answer.reply.size()}));
  *received = count;
  Log(s, std::string(label == std::string("read") ? "RX " : "RXINT ") + std::to_string(count) + " of " +
             std::to_string(length) + " bytes" + note + " (" + waited + ")");
  return 1;
}

}  // namespace

extern "C" {

MPUSB_EXPORT void* MPUSB_CALL _MPUSBOpen(uint32_t instance, const char* vid_pid, const char* endpoint,
                                         uint32_t direction, uint32_t /*reserved*/) {
  Session& s = TheSession();
  std::lock_guard lock(s.mutex);
  // Opening the write pipe with nothing open plugs the radio in afresh.
  if (!s.configured || (direction == MPUSB_WRITE_DIRECTION && !AnyPipeOpen(s))) Attach(s);
  FollowCable(s);

  std::string line = std::string("OPEN ") + (direction <= MPUSB_READ_DIRECTION ? PipeName(direction) : "?") + " " +
                     (vid_pid ? vid_pid : "(null)") + " " + (endpoint ? endpoint : "(null)") + " -> ";
  auto refuse = [&](const char* why, int error) {
    Fail(s, line + why, error);
    return MPUSB_INVALID_HANDLE;
  };
  if (direction > MPUSB_READ_DIRECTION) return refuse("no such direction (EINVAL)", EINVAL);
  if (vid_pid == nullptr || std::strcmp(vid_pid, kDeviceIdentity) != 0)
    return refuse("no such device (ENODEV)", ENODEV);
  if (instance != 0) return refuse("no such instance (ENODEV)", ENODEV);
  if (endpoint == nullptr || std::strcmp(endpoint, kEndpoint) != 0) return refuse("no such endpoint (ENXIO)", ENXIO);
  const sim::AbsentPipes absent = s.config.absent;
  if (absent == sim::AbsentPipes::Both ||
      (absent == sim::AbsentPipes::WritePipe && direction == MPUSB_WRITE_DIRECTION) ||
      (absent == sim::AbsentPipes::ReadPipe && direction == MPUSB_READ_DIRECTION))
    return refuse("radio absent (ENODEV)", ENODEV);
  if (Away(s)) return refuse(AwayReason(s), ENODEV);

  for (Pipe& p : s.pipes) {
    if (p.open) continue;
    p.open = true;
    p.direction = direction;
    Log(s, line + "ok");
    return &p;
  }
  return refuse("too many open pipes (EMFILE)", EMFILE);
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBWrite(void* pipe, const void* data, uint32_t length, uint32_t* written,
                                             uint32_t timeout_ms) {
  Session& s = TheSession();
  std::lock_guard lock(s.mutex);
  EnsureConfigured(s);
  if (FindPipe(s, pipe, MPUSB_WRITE_DIRECTION) == nullptr)
    return Fail(s, "FAIL write: not an open write pipe (EBADF)", EBADF);
  if (data == nullptr && length != 0) return Fail(s, "FAIL write: no data (EINVAL)", EINVAL);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const std::string hex = sim::HexBytes(bytes, length);
  if (Away(s)) return Fail(s, "FAIL write " + hex + ": " + AwayReason(s), ENODEV);
  if (s.config.vanishAfter && FailsNow(s, sim::FailingCall::Write) && s.packets >= *s.config.vanishAfter) {
    Unplug(s);
    return Fail(s, "FAIL write " + hex + ": radio gone (ENODEV)", ENODEV);
  }
  if (s.config.timeOutPacket && FailsNow(s, sim::FailingCall::Write) && !s.timeOutUsed &&
      s.packets + 1 == *s.config.timeOutPacket) {
    s.timeOutUsed = true;
    return Fail(s, "FAIL write " + hex + ": timed out (ETIMEDOUT; write " + std::to_string(timeout_ms) + " ms)",
                ETIMEDOUT);
  }

  ++s.packets;
  s.pendingReply = s.radio.Receive(bytes, length);
  s.lastWriteTimeout = timeout_ms;
  if (written != nullptr) *written = length;
  Log(s, "TX " + (length == 0 ? std::string("(empty)") : hex) + " " + s.pendingReply->meaning);
  return 1;
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBRead(void* pipe, void* data, uint32_t length, uint32_t* received,
                                            uint32_t timeout_ms) {
  return Read(pipe, data, length, received, timeout_ms, "read");
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBReadInt(void* pipe, void* data, uint32_t length, uint32_t* received,
                                               uint32_t timeout_ms) {
  return Read(pipe, data, length, received, timeout_ms, "read-int");
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBClose(void* pipe) {
  Session& s = TheSession();
  std::lock_guard lock(s.mutex);
  EnsureConfigured(s);
  for (Pipe& p : s.pipes) {
    if (&p != pipe || !p.open) continue;
    p.open = false;
    Log(s, std::string("CLOSE ") + PipeName(p.direction) + (s.gone ? " (radio gone)" : ""));
    return 1;
  }
  return Fail(s, "FAIL close: not an open pipe (EBADF)", EBADF);
}

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDLLVersion(void) { return kVersion; }

MPUSB_EXPORT const char* ravolin_mpusb_describe(void) { return "the simulated radio"; }

MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDeviceCount(const char* vid_pid) {
  Session& s = TheSession();
  std::lock_guard lock(s.mutex);
  EnsureConfigured(s);
  const bool present = s.config.absent != sim::AbsentPipes::Both && !Away(s);
  return vid_pid != nullptr && std::strcmp(vid_pid, kDeviceIdentity) == 0 && present ? 1 : 0;
}

}  // extern "C"
