// Finding the server's address, connecting to it, and accepting a peer:
// the waits for a notification.

#include <cstring>

#include "net/Psock.h"
#include "net/ScopeExit.h"

namespace {

const char kLookupFailed[] = "Host Lookup Failed";

constexpr TPowersock::WaitPlan kLookupWait{
    .timed = true,
    .endOnTimeOut = true,
    .errors = {.timedOut = "Host Lookup Timed Out", .canceled = "Host Lookup Canceled"}};
// Connect turns the end of its wait into its error itself, after
// OnConnectionFailed, and only when no connection was made.
constexpr TPowersock::WaitPlan kConnectWait{.timed = true, .endOnTimeOut = true, .errors = {}};
constexpr TPowersock::WaitErrors kConnectErrors{.timedOut = "Connection Timed out", .canceled = "Connection Canceled"};
// No time-out is armed for an accept.
constexpr TPowersock::WaitPlan kAcceptWait{.errors = {.canceled = "Accepting Canceled"}};

}  // namespace

void TPowersock::StageName(const std::string& name) {
  if (name.size() > static_cast<std::size_t>(kBlockSize)) throw ESockError("Host name is longer than 65536 characters");
  std::memcpy(WorkBuffer, name.data(), name.size());
  WorkBuffer[name.size()] = '\0';
}

void TPowersock::CancelLookup() {
  if (LookupTask == 0) return;
  sock::CancelAsyncRequest(LookupTask);
  LookupTask = 0;
}

void TPowersock::ResolveHost() {
  ReportStatus(kStatusTrace, "Resolve Host");
  StageName(Proxy.empty() ? Host : Proxy);
  RemoteAddress.address = sock::InetAddr(WorkBuffer);
  if (RemoteAddress.address != sock::kInAddrNone) return;

  RemoteAddress.address = 0;
  bool replied = false;
  {
    // Withdraws a lookup abandoned by time-out or cancel.
    ScopeExit withdraw([this] { CancelLookup(); });
    AwaitNotification(
        kLookupWait,
        [this] {
          WaitDone = false;
          CancelLookup();
          LookupTask = sock::AsyncGetHostByName(SessionWindow, kLookupDoneMessage, WorkBuffer, HostEntryBuffer.get(),
                                                kHostEntryBufferSize);
          if (LookupTask == 0) throw ESockError(kLookupFailed);
        },
        [this] { return WaitDone; });
    replied = LookupTask == 0;
  }
  if (!Succeeded || !replied) throw ESockError(kLookupFailed);
  const auto* entry = reinterpret_cast<const sock::HostEntry*>(HostEntryBuffer.get());
  if (entry->addressList == nullptr || entry->addressList[0] == nullptr || entry->addressLength < 4)
    throw ESockError(kLookupFailed);
  std::memcpy(&RemoteAddress.address, entry->addressList[0], 4);
  Fire(OnHostResolved, this);
}

void TPowersock::Connect() {
  ReportStatus(kStatusTrace, "Connecting");
  Canceled = false;
  if (Connected) throw ESockError("Already connected");
  CloseError = 0;

  int repairs = 0;
  for (;;) {
    try {
      ResolveHost();
    } catch (const ESockError& error) {
      // A failed lookup leaves the address at 0; time-out, cancel and a name
      // that cannot be staged go to the caller as they are.
      if (error.Message() != kLookupFailed) throw;
      RemoteAddress.address = 0;
    }
    if (RemoteAddress.address != 0) break;
    if (repairs > 0 || !OnInvalidHost) throw ESockError("Null Remote Address");
    bool handled = false;
    OnInvalidHost(handled);
    if (!handled) throw ESockError("Null Remote Address");
    ++repairs;
  }

  RemoteAddress.family = sock::kAfInet;
  const int port = Proxy.empty() ? Port : ProxyPort;
  RemoteAddress.port = sock::Htons(static_cast<std::uint16_t>(port & 0xFFFF));
  std::memset(RemoteAddress.zero, 0, sizeof RemoteAddress.zero);

  WaitDone = false;
  Succeeded = true;
  ConnectMade = false;
  if (sock::Connect(SocketHandle, RemoteAddress) == sock::kSocketError) CheckSocketError(sock::kErrWouldBlock);
  AwaitNotification(kConnectWait, {}, [this] { return Connected || ConnectMade || !Succeeded; });
  // A connection that the peer has closed again is still made: the reads
  // see the end of the data (and a reset as its error).
  if (ConnectMade || (!TimedOut && !Canceled && Succeeded)) return;

  Fire(OnConnectionFailed, this);
  RaiseWaitEnd(kConnectErrors);
  throw ESockError("Connection Failed");
}

std::uint16_t TPowersock::Accept() {
  ReportStatus(kStatusStep, "Accepting");
  AwaitNotification(kAcceptWait, {}, [this] { return WaitDone; });
  if (!Succeeded) throw ESockError("Error creating Data Connection");
  sock::SockAddrIn peer = {};
  sock::Socket accepted = sock::Accept(SocketHandle, &peer);
  if (accepted == sock::kInvalidSocket) {
    CheckSocketError(sock::kErrWouldBlock);
    return kNoSocket;
  }
  if (accepted > 0xFFFF) throw ERangeError();
  auto handle = static_cast<std::uint16_t>(accepted);
  RegisterSocket(handle);
  RemoteAddress = peer;
  return handle;
}
