#pragma once
// TPowersock: a TCP client session on one socket, driven by window-message
// notifications. Its operations look blocking to the caller: each waits by
// pumping the user-interface thread's messages until the network, the
// time-out timer or a cancel ends the wait. Handlers of other parts of the
// application (and of this session) can therefore run in the middle of an
// operation.
//
// Derived sessions (the HTTP client) use the protected members directly and
// publish Proxy, ProxyPort, OnPacketRecvd and OnPacketSent with
// using-declarations.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Component.h"
#include "base/Events.h"
#include "net/SessionWindow.h"
#include "net/SockErrors.h"
#include "net/ThreadTimer.h"
#include "platform/messages.h"
#include "platform/sockets.h"

using TOnHostResolved = std::function<void(TComponent* Sender)>;
using TOnStatus = std::function<void(TComponent* Sender, const std::string& Status)>;

// The levels of status texts: a text is reported when its level is at most
// ReportLevel, so 0 reports nothing and 8 everything.
enum StatusLevel : std::uint8_t {
  kStatusReply = 1,    // the reply line of a Transaction
  kStatusOutcome = 2,  // the outcome of a whole request
  kStatusStep = 4,     // sending, accepting, closing
  kStatusTrace = 8,    // every operation as it starts
};
using TOnSocketError = std::function<void(TComponent* Sender, std::uint16_t Error, const std::string& Message)>;

// Number of live sessions that hold the sockets start-up.
extern int StartupCount;

class TPowersock : public TComponent {
public:
  static constexpr std::uint16_t kNoSocket = 65535;
  static constexpr int kWorkBufferSize = 65537;
  static constexpr int kHostEntryBufferSize = 1024;
  static constexpr int kBlockSize = 65536;

  // How an operation waits (PowersockWait.cpp).
  // What one pass of a wait did, and so what comes next.
  enum class WaitPass {
    Idle,    // nothing moved: block until any source is ready, then pass again
    Moved,   // data moved: run only what is pending, then pass again
    Again,   // pass again at once, pumping nothing
    Done,    // the wait is over; a cancel still pending fails the operation
    Return,  // the operation is over and returns normally, cancel or not
  };
  // The errors a wait turns its end into, checked in this order: TimedOut
  // raises timedOut; Canceled raises aborted (as EAbortError, consuming the
  // cancel) or canceled (as ESockError, leaving it set). nullptr: none.
  struct WaitErrors {
    const char* timedOut = nullptr;
    const char* canceled = nullptr;
    const char* aborted = nullptr;
  };
  struct WaitPlan {
    bool timed = false;                                      // TimerOn before the first pass, TimerOff on every way out
    bool rearmOnMove = false;                                // TimerOn again after each pass that moved data
    bool endOnTimeOut = false;                               // TimedOut ends the wait, not only Canceled
    bool passFirst = false;                                  // the first pass runs even with Canceled set
    std::uint32_t idleWaitMs = platform::kDefaultMaxWaitMs;  // longest block after an Idle pass
    WaitErrors errors;
  };

  explicit TPowersock(TComponent* owner);
  ~TPowersock() override;

  // Waits for an accept notification, then accepts the peer: returns the new
  // socket (registered for notifications) and stores the peer's address.
  virtual std::uint16_t Accept();
  // Resolves Host (or Proxy) and connects; raises ESockError on failure.
  virtual void Connect();
  // Closes the socket and puts a fresh one in its place.
  virtual void Disconnect();
  // Sends a command line and returns the reply line; sets ReplyNumber.
  virtual std::string Transaction(const std::string& command);
  // Ends the current wait (the time-out timer calls it).
  virtual void Abort();

  // Asks the waiting operation to stop at its next pass.
  void Cancel();
  // True when at least one byte is waiting in the socket.
  bool DataAvailable();

  // Data transfer on the connected socket.
  void Write(const std::string& text);
  void Writeln(const std::string& text);
  // length 0 sends the bytes up to the first NUL (at most 65535 of them).
  void SendBuffer(const char* bytes, std::uint16_t length);
  void SendFile(const std::string& fileName);
  // One line, line feed included; empty at the end of the data.
  std::string ReadLn();
  // Everything up to the end of the data, into a new file.
  void CaptureFile(const std::string& fileName);
  // Everything up to the end of the data (or until text holds at least
  // maximum bytes; -1 for no maximum), into text; returns text.
  std::string& CaptureString(std::string& text, int maximum);

  // Published properties.
  std::string Host;
  int Port = 0;
  int TimeOut = 0;  // milliseconds, 0 = none; must not be negative
  int ReportLevel = 0;
  TNotifyEvent OnConnect;
  TNotifyEvent OnDisconnect;
  THandlerEvent OnInvalidHost;
  TOnHostResolved OnHostResolved;
  TOnStatus OnStatus;
  TNotifyEvent OnConnectionFailed;

  // Read-only state.
  bool GetConnected() const { return Connected; }
  std::uint16_t GetSocketHandle() const { return SocketHandle; }
  int GetLastErrorNo() const { return LastErrorNo; }
  const std::string& GetLastStatus() const { return LastStatus; }
  std::uint32_t GetBytesSent() const { return BytesSent; }
  std::uint32_t GetBytesRecvd() const { return BytesRecvd; }
  std::int16_t GetReplyNumber() const { return ReplyNumber; }
  const std::string& GetReplyMessage() const { return ReplyMessage; }
  const sock::SockAddrIn& GetRemoteAddress() const { return RemoteAddress; }

  // The dispatch of the session window: socket notifications and lookup
  // completions. Never raises.
  void HandleSocketMessage(TSocketMessage& message);

protected:
  // Held here, published by derived sessions.
  std::string Proxy;
  int ProxyPort = 0;
  TNotifyEvent OnPacketRecvd;
  TNotifyEvent OnPacketSent;

  // Hooks for derived sessions.
  TNotifyEvent OnDataArrived;
  TNotifyEvent OnAcceptRequest;
  TOnSocketError OnSocketError;

  // Passes text to OnStatus when level is at most ReportLevel.
  void ReportStatus(StatusLevel level, const std::string& text);
  // Raises the last socket error unless it is tolerated or 10000 or less.
  void CheckSocketError(int tolerated);
  // Raises CloseError, if any, as the socket error it is, and clears it.
  void RaiseCloseError();
  std::string LookupErrorMessage(int number);
  // Sets the address of RemoteAddress from Proxy or Host (dotted address or
  // name lookup).
  void ResolveHost();
  void InitializeWinsock();
  // Closes the socket and, unless shutting down, makes a replacement.
  void RequestCloseSocket();

  void TimerOn();
  void TimerOff();
  void TimerFired(TComponent* Sender);

  // --- waiting (PowersockWait.cpp) ---
  // The one wait loop of the session. Arms the time-out (plan.timed), runs
  // start, then passes until one answers Done or Return, or Canceled (or,
  // with plan.endOnTimeOut, TimedOut) ends it; pumps between passes as each
  // pass asks. Disarms the time-out, then, unless the last pass answered
  // Return, raises plan.errors.
  void Wait(const WaitPlan& plan, const std::function<void()>& start, const std::function<WaitPass()>& pass);
  // The sleep-and-pump shape: waits for a flag that a notification sets.
  void AwaitNotification(const WaitPlan& plan, const std::function<void()>& start,
                         const std::function<bool()>& arrived);
  // Raises what errors names for the flags as they are now.
  void RaiseWaitEnd(const WaitErrors& errors);
  // One send call for what is left of a block (the send-all loop's pass).
  // countBlocks: each block sent counts in BytesSent, fires OnPacketSent and
  // lets pending messages run (SendFile); otherwise the next send follows at
  // once. A peer that takes nothing ends the block (remaining becomes 0).
  WaitPass SendPass(const char* block, int size, int& remaining, bool countBlocks);
  // One receive call of a capture: a block goes to keep and counts in
  // BytesRecvd; Done at the end of the data (a read of 0, or kErrNotConn).
  WaitPass CapturePass(const std::function<void(const char* data, int count)>& keep);

  char WorkBuffer[kWorkBufferSize] = {};
  std::unique_ptr<char[]> HostEntryBuffer;
  sock::SockAddrIn RemoteAddress = {};
  std::uint16_t SocketHandle = kNoSocket;
  platform::WindowHandle SessionWindow = 0;
  TThreadTimer* Timer = nullptr;
  bool Canceled = false;
  bool ShuttingDown = false;
  bool Connected = false;
  bool Succeeded = false;
  bool TimedOut = false;
  bool WaitDone = false;
  int LastErrorNo = 0;
  std::string LastStatus;
  std::uint32_t BytesSent = 0;
  std::uint32_t BytesRecvd = 0;
  std::int16_t ReplyNumber = 0;
  std::string ReplyMessage;
  // The error a close notification carried (the peer reset the connection),
  // 0 for a graceful close. The reads raise it where the data ends, so that
  // a reset never passes for a complete answer; Connect clears it.
  int CloseError = 0;
  // Set when the connect notification of the current Connect succeeded. A
  // peer that closes at once can have its close handled in the same pump
  // pass, which makes Connected false again before the wait looks.
  bool ConnectMade = false;

private:
  // Copies name into WorkBuffer as a NUL-terminated string.
  void StageName(const std::string& name);
  // Stores a new socket handle, refusing one that does not fit 16 bits.
  void AdoptSocket(sock::Socket handle);
  void RegisterSocket(std::uint16_t handle);
  // Withdraws a name lookup that is still running.
  void CancelLookup();
  // Reports a socket error to OnSocketError and raises it.
  [[noreturn]] void RaiseSocketError(int number);

  sock::AsyncTask LookupTask = 0;  // the lookup whose reply is awaited; 0 = none
};
