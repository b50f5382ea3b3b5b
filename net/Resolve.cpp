// Finding the server's address and connecting to it.

#include <cstring>

#include "net/Psock.h"
#include "net/ScopeExit.h"

namespace {
const char kLookupFailed[] = "Host Lookup Failed";
}

void TPowersock::StageName(const std::string& name) {
  if (name.size() > static_cast<std::size_t>(kBlockSize))
    throw ESockError("Host name is longer than 65536 characters");
  std::memcpy(WorkBuffer, name.data(), name.size());
  WorkBuffer[name.size()] = '\0';
}

void TPowersock::CancelLookup() {
  if (LookupTask == 0) return;
  sock::CancelAsyncRequest(LookupTask);
  LookupTask = 0;
}

void TPowersock::ResolveHost() {
  ReportStatus(8, "Resolve Host");
  StageName(Proxy.empty() ? Host : Proxy);
  RemoteAddress.address = sock::InetAddr(WorkBuffer);
  if (RemoteAddress.address != sock::kInAddrNone) return;

  RemoteAddress.address = 0;
  TimerOn();
  bool replied = false;
  {
    ScopeExit stop([this] {
      TimerOff();
      CancelLookup();  // withdraws a lookup abandoned by time-out or cancel
    });
    WaitDone = false;
    CancelLookup();
    LookupTask = sock::AsyncGetHostByName(SessionWindow, kLookupDoneMessage, WorkBuffer, HostEntryBuffer.get(),
                                          kHostEntryBufferSize);
    if (LookupTask == 0) throw ESockError(kLookupFailed);
    while (!WaitDone && !TimedOut && !Canceled) platform::WaitAndProcessMessages();
    replied = LookupTask == 0;
  }

  if (TimedOut) throw ESockError("Host Lookup Timed Out");
  if (Canceled) throw ESockError("Host Lookup Canceled");
  if (!Succeeded || !replied) throw ESockError(kLookupFailed);
  const auto* entry = reinterpret_cast<const sock::HostEntry*>(HostEntryBuffer.get());
  if (entry->addressList == nullptr || entry->addressList[0] == nullptr || entry->addressLength < 4)
    throw ESockError(kLookupFailed);
  std::memcpy(&RemoteAddress.address, entry->addressList[0], 4);
  Fire(OnHostResolved, this);
}

void TPowersock::Connect() {
  ReportStatus(8, "Connecting");
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
  TimerOn();
  {
    ScopeExit stop([this] { TimerOff(); });
    while (!Connected && !ConnectMade && !TimedOut && !Canceled && Succeeded) platform::WaitAndProcessMessages();
  }
  // A connection that the peer has closed again is still made: the reads
  // see the end of the data (and a reset as its error).
  if (ConnectMade || (!TimedOut && !Canceled && Succeeded)) return;

  Fire(OnConnectionFailed, this);
  if (TimedOut) throw ESockError("Connection Timed out");
  if (Canceled) throw ESockError("Connection Canceled");
  throw ESockError("Connection Failed");
}
