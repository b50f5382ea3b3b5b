#pragma once
// Lays out a host entry inside a caller's buffer: the HostEntry record first
// (aligned), then its NULL-terminated alias and address pointer lists, the
// 4-byte addresses and the name; every pointer points into the buffer.

#include <cstdint>
#include <string>
#include <vector>

namespace sock::detail {

struct HostAnswer {
  std::string name;
  std::vector<std::uint32_t> addresses;  // network byte order
};

// Bytes of the buffer at `buffer` the entry takes, counted from its start.
int HostEntrySize(const HostAnswer& answer, const char* buffer);
// Writes the entry when it fits (answers false, writing nothing, otherwise).
bool WriteHostEntry(const HostAnswer& answer, char* buffer, int bufferLength);

}  // namespace sock::detail
