#pragma once
// The address a server listens on, as written in serve.ini: "host:port",
// where host is an IPv4 address in dotted form (0.0.0.0 for every
// interface) or "localhost", and port a number from 1 to 65535.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ListenAddress {
  std::uint32_t ipv4 = 0;  // host byte order; 0 listens on every interface
  std::uint16_t port = 0;

  // Dotted form and port, as a message names it: "127.0.0.1:4532".
  std::string Text() const;
  // True when both cannot be bound at once: the same port, and the same
  // interface or one of them on every interface.
  bool Overlaps(const ListenAddress& other) const;
};

// Parses a text without surrounding blanks. On failure returns nothing and
// sets error to a one-line reason that quotes the text.
std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& error);
