#include "platform/posix/host_entry.h"

#include <cstring>

#include "platform/sockets.h"

namespace sock::detail {
namespace {

struct Layout {
  std::uintptr_t entry, aliases, addressList, addresses, name, end;
};

std::uintptr_t AlignUp(std::uintptr_t value, std::uintptr_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

Layout Plan(const HostAnswer& answer, const char* buffer) {
  const auto base = reinterpret_cast<std::uintptr_t>(buffer);
  Layout l;
  l.entry = AlignUp(base, alignof(HostEntry));
  l.aliases = AlignUp(l.entry + sizeof(HostEntry), alignof(char*));
  l.addressList = l.aliases + sizeof(char*);
  l.addresses = l.addressList + (answer.addresses.size() + 1) * sizeof(char*);
  l.name = l.addresses + answer.addresses.size() * 4;
  l.end = l.name + answer.name.size() + 1;
  return l;
}

template <typename T>
void Put(std::uintptr_t at, const T& value) {
  std::memcpy(reinterpret_cast<void*>(at), &value, sizeof value);
}

}  // namespace

int HostEntrySize(const HostAnswer& answer, const char* buffer) {
  const Layout l = Plan(answer, buffer);
  return static_cast<int>(l.end - reinterpret_cast<std::uintptr_t>(buffer));
}

bool WriteHostEntry(const HostAnswer& answer, char* buffer, int bufferLength) {
  if (!buffer || bufferLength < HostEntrySize(answer, buffer)) return false;
  const Layout l = Plan(answer, buffer);
  HostEntry entry;
  entry.name = reinterpret_cast<char*>(l.name);
  entry.aliases = reinterpret_cast<char**>(l.aliases);
  entry.addressType = kAfInet;
  entry.addressLength = 4;
  entry.addressList = reinterpret_cast<char**>(l.addressList);
  Put(l.entry, entry);
  Put(l.aliases, static_cast<char*>(nullptr));
  for (std::size_t i = 0; i < answer.addresses.size(); ++i) {
    Put(l.addressList + i * sizeof(char*), reinterpret_cast<char*>(l.addresses + i * 4));
    Put(l.addresses + i * 4, answer.addresses[i]);
  }
  Put(l.addressList + answer.addresses.size() * sizeof(char*), static_cast<char*>(nullptr));
  std::memcpy(reinterpret_cast<void*>(l.name), answer.name.c_str(), answer.name.size() + 1);
  return true;
}

}  // namespace sock::detail
