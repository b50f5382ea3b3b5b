#pragma once
// A blocking client of a loopback server under test, on a thread of its own
// (BackgroundTask): what it reads, and how the server ended the connection.
// Every read has a deadline.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace testsupport {

struct ClientReply {
  std::string bytes;
  bool closed = false;  // the server closed gracefully
  bool reset = false;   // the server reset the connection
};

// A port on 127.0.0.1 that nothing listens on just now.
std::uint16_t FreeLoopbackPort();

// Sends all of bytes; false when the server has gone.
bool SendAll(int fd, std::string_view bytes);
// Reads until enough(what was read) holds, the connection ends, or timeoutMs
// passes.
ClientReply ReadUntil(int fd, const std::function<bool(const std::string&)>& enough, int timeoutMs = 5000);
// Reads until the connection ends (or timeoutMs passes).
ClientReply ReadToEnd(int fd, int timeoutMs = 5000);
// Connects, sends request, reads until the end; closed and reset both false
// when the connection could not be made.
ClientReply Exchange(std::uint16_t port, std::string_view request, int timeoutMs = 5000);

}  // namespace testsupport
