#pragma once
// The few socket calls the loopback test servers make, on POSIX sockets or
// on Winsock, so that the servers are written once. Descriptors are ints on
// both (Winsock handles fit); every call reports failure the same way.

#include <cstddef>
#include <cstdint>

namespace testsupport::loopback {

constexpr int kNoSocket = -1;

// A TCP socket bound to 127.0.0.1 on a port the system picks (host order in
// port). Throws std::runtime_error on failure.
int BoundSocket(std::uint16_t& port);
bool Listen(int fd, int backlog);
// A connection from the listener, with Nagle off; kNoSocket on failure.
int AcceptConnection(int listener);
// A blocking connect to 127.0.0.1:port; kNoSocket on failure. bufferBytes,
// when given, sizes both socket buffers (a client that takes little at a
// time).
int ConnectLoopback(std::uint16_t port, int bufferBytes = 0);
void CloseSocket(int fd);
// Makes the next close send a reset (linger on, time 0).
void SetResetOnClose(int fd);

// Sends part of the data; the count sent, 0 when it would block (only with
// dontWait), -1 when the peer has gone. Never raises a signal.
long SendSome(int fd, const char* data, std::size_t size, bool dontWait);
// Receives; the count, 0 at the end of the data, -1 on failure. reset is set
// when the failure was a reset by the peer.
long ReceiveSome(int fd, char* data, std::size_t size, bool& reset);

// Waits until fd is ready (to read, or to write when forWrite) or stop is
// readable, or timeoutMs passes (-1: no limit). Tells which happened.
enum class Ready { Fd, Stop, Timeout, Error };
Ready WaitReady(int fd, bool forWrite, int stop, int timeoutMs);
// Waits on stop alone: true when it became readable within timeoutMs.
bool WaitStop(int stop, int timeoutMs);

// A one-way wake-up channel: Signal makes readEnd readable for good.
struct StopChannel {
  int readEnd = kNoSocket;
  int writeEnd = kNoSocket;
};
StopChannel OpenStopChannel();  // throws std::runtime_error on failure
void Signal(const StopChannel& channel);
void CloseStopChannel(StopChannel& channel);

}  // namespace testsupport::loopback
