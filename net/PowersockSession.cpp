// Lifetime of a session: construction with the sockets start-up, closing and
// replacing the socket, cancelling, status reports and socket errors.

#include <exception>

#include "net/Psock.h"

int StartupCount = 0;

namespace {
constexpr std::uint16_t kSocketsVersion = 0x0101;
constexpr long kNotifiedEvents = sock::kFdRead | sock::kFdOob | sock::kFdAccept | sock::kFdConnect | sock::kFdClose;
}  // namespace

TPowersock::TPowersock(TComponent* owner) : TComponent(owner) {
  ReportStatus(kStatusTrace, "Create");
  SessionWindow = CreateSessionWindow(this);
  Proxy.clear();
  HostEntryBuffer = std::make_unique<char[]>(kHostEntryBufferSize);
  Timer = new TThreadTimer(this);
  Timer->SetEnabled(false);
  Timer->SetOnTimer([this](TComponent* sender) { TimerFired(sender); });
  TimeOut = 0;
  Canceled = false;
  ShuttingDown = false;
  Connected = false;
  try {
    InitializeWinsock();
  } catch (...) {
    // The base destructor frees the timer; the window is ours to remove.
    if (SessionWindow != 0) platform::DestroyHiddenWindow(SessionWindow);
    throw;
  }
}

TPowersock::~TPowersock() {
  BeginDestroy();  // no OnStatus or OnDisconnect from here on
  ReportStatus(kStatusTrace, "Destroy");
  try {
    Abort();
    Cancel();
  } catch (...) {
  }
  // A lookup still running must never write into the buffer freed below.
  CancelLookup();
  delete Timer;
  Timer = nullptr;
  HostEntryBuffer.reset();
  if (SessionWindow != 0) platform::DestroyHiddenWindow(SessionWindow);
  SessionWindow = 0;
  ShuttingDown = true;
  try {
    RequestCloseSocket();
  } catch (...) {
  }
  if (--StartupCount == 0) sock::Cleanup();
}

void TPowersock::InitializeWinsock() {
  ReportStatus(kStatusTrace, "Initializing Winsock");
  try {
    if (++StartupCount == 1) sock::Startup(kSocketsVersion);
    try {
      AdoptSocket(sock::Create(sock::kAfInet, sock::kSockStream, sock::kIpProtoTcp));
      // The first socket closes with a reset rather than a graceful close.
      sock::SetLinger(SocketHandle, 1, 0);
      if (SocketHandle == kNoSocket) CheckSocketError(sock::kErrWouldBlock);
      RegisterSocket(SocketHandle);
    } catch (...) {
      if (--StartupCount == 0) sock::Cleanup();
      throw;
    }
  } catch (...) {
    throw ESockError("Initializaton of windows sockets failed");
  }
}

void TPowersock::AdoptSocket(sock::Socket handle) {
  if (handle == sock::kInvalidSocket) {
    SocketHandle = kNoSocket;
    return;
  }
  if (handle > 0xFFFF) throw ERangeError();
  SocketHandle = static_cast<std::uint16_t>(handle);
}

void TPowersock::RegisterSocket(std::uint16_t handle) {
  sock::AsyncSelect(handle, SessionWindow, kSocketEventMessage, kNotifiedEvents);
}

void TPowersock::RequestCloseSocket() {
  ReportStatus(kStatusStep, "Request Close Socket");
  Connected = false;
  if (SocketHandle == kNoSocket) return;
  if (sock::Close(SocketHandle) == sock::kSocketError) {
    CheckSocketError(sock::kErrWouldBlock);
    return;
  }
  // The closed handle may be reused by the system for another socket at once;
  // it must not stay in SocketHandle.
  SocketHandle = kNoSocket;
  std::exception_ptr handlerError;
  if (!Destroying()) {
    try {
      Fire(OnDisconnect, this);
    } catch (...) {
      handlerError = std::current_exception();
    }
  }
  if (!ShuttingDown) {
    // The replacement closes gracefully: it gets no linger setting.
    AdoptSocket(sock::Create(sock::kAfInet, sock::kSockStream, 0));
    if (SocketHandle == kNoSocket) CheckSocketError(sock::kErrWouldBlock);
    RegisterSocket(SocketHandle);
  }
  if (handlerError) std::rethrow_exception(handlerError);
}

void TPowersock::Disconnect() {
  ReportStatus(kStatusTrace, "Disconnecting");
  RequestCloseSocket();
}

void TPowersock::Cancel() {
  ReportStatus(kStatusTrace, "Canceling");
  Canceled = true;
  platform::Wake();  // a wait blocked in the pump sees the flag now
}

void TPowersock::Abort() {
  ReportStatus(kStatusTrace, "Abort");
  Cancel();
}

bool TPowersock::DataAvailable() {
  ReportStatus(kStatusTrace, "Data Available");
  char scratch = 0;
  return sock::Recv(SocketHandle, &scratch, 1, sock::kMsgPeek) > 0;
}

void TPowersock::ReportStatus(StatusLevel level, const std::string& text) {
  if (level > ReportLevel) return;
  LastStatus = text;
  if (Destroying()) return;
  try {
    Fire(OnStatus, this, text);
  } catch (...) {
    // A status handler cannot disturb the operation that reports.
  }
}

void TPowersock::CheckSocketError(int tolerated) {
  LastErrorNo = sock::LastError();
  if (LastErrorNo == tolerated || LastErrorNo <= sock::kErrBase) return;
  RaiseSocketError(LastErrorNo);
}

void TPowersock::RaiseCloseError() {
  if (CloseError == 0) return;
  LastErrorNo = CloseError;
  CloseError = 0;
  RaiseSocketError(LastErrorNo);
}

void TPowersock::RaiseSocketError(int number) {
  std::string text = LookupErrorMessage(number);
  Fire(OnSocketError, this, static_cast<std::uint16_t>(number), text);
  throw ESockError(text);
}

std::string TPowersock::LookupErrorMessage(int number) {
  ReportStatus(kStatusTrace, "Looking Up Error Message");
  return FormatSocketError(number);
}
