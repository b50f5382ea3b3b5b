#include "platform/win32/host_entry.h"

#include <cstring>

namespace sock {
namespace {

int CountList(char** list) {
  int count = 0;
  while (list && list[count]) ++count;
  return count;
}

// Hands out aligned pieces of the buffer; fails once it runs out.
class Arena {
public:
  Arena(char* buffer, int length) : begin_(buffer), used_(0), length_(length) {}
  void* Take(int bytes, int alignment) {
    int start = (used_ + alignment - 1) / alignment * alignment;
    if (bytes < 0 || start > length_ || bytes > length_ - start) return nullptr;
    used_ = start + bytes;
    return begin_ + start;
  }
  int Used() const { return used_; }

private:
  char* begin_;
  int used_;
  int length_;
};

char* CopyText(Arena& arena, const char* text) {
  if (!text) text = "";
  int size = static_cast<int>(std::strlen(text)) + 1;
  char* copy = static_cast<char*>(arena.Take(size, 1));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

}  // namespace

int PackHostEntry(const HostEntry& entry, char* buffer, int bufferLength) {
  Arena arena(buffer, bufferLength);
  auto* packed = static_cast<HostEntry*>(arena.Take(sizeof(HostEntry), alignof(HostEntry)));
  int aliasCount = CountList(entry.aliases);
  int addressCount = CountList(entry.addressList);
  auto** aliases = static_cast<char**>(arena.Take((aliasCount + 1) * sizeof(char*), alignof(char*)));
  auto** addresses = static_cast<char**>(arena.Take((addressCount + 1) * sizeof(char*), alignof(char*)));
  if (!packed || !aliases || !addresses || entry.addressLength < 0) return -1;
  for (int i = 0; i < addressCount; ++i) {
    addresses[i] = static_cast<char*>(arena.Take(entry.addressLength, 4));
    if (!addresses[i]) return -1;
    std::memcpy(addresses[i], entry.addressList[i], entry.addressLength);
  }
  addresses[addressCount] = nullptr;
  char* name = CopyText(arena, entry.name);
  if (!name) return -1;
  for (int i = 0; i < aliasCount; ++i) {
    aliases[i] = CopyText(arena, entry.aliases[i]);
    if (!aliases[i]) return -1;
  }
  aliases[aliasCount] = nullptr;
  packed->name = name;
  packed->aliases = aliases;
  packed->addressType = entry.addressType;
  packed->addressLength = entry.addressLength;
  packed->addressList = addresses;
  return arena.Used();
}

}  // namespace sock
