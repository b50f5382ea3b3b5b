// The socket calls on Winsock. The numbers of the interface are Winsock's
// own, so the calls pass straight through.

#include <winsock2.h>

#include "platform/sockets.h"

namespace sock {

static_assert(sizeof(SockAddrIn) == sizeof(sockaddr_in));
static_assert(kMsgPeek == MSG_PEEK && kFdRead == FD_READ && kFdClose == FD_CLOSE && kFdConnect == FD_CONNECT);
static_assert(kErrWouldBlock == WSAEWOULDBLOCK && kErrHostNotFound == WSAHOST_NOT_FOUND);

int Startup(std::uint16_t version) {
  WSADATA data;
  return WSAStartup(version, &data);
}

int Cleanup() { return WSACleanup(); }

Socket Create(int family, int type, int protocol) {
  SOCKET s = socket(family, type, protocol);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<Socket>(s);
}

int SetLinger(Socket s, std::uint16_t onOff, std::uint16_t seconds) {
  linger value{onOff, seconds};
  return setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value),
                    sizeof value);
}

int AsyncSelect(Socket s, platform::WindowHandle window, std::uint32_t message, long events) {
  return WSAAsyncSelect(static_cast<SOCKET>(s), reinterpret_cast<HWND>(window), message, events);
}

std::uint32_t InetAddr(const char* text) { return inet_addr(text); }

std::uint16_t Htons(std::uint16_t value) { return htons(value); }

int Connect(Socket s, const SockAddrIn& address) {
  return connect(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int Send(Socket s, const void* data, int length, int flags) {
  return send(static_cast<SOCKET>(s), static_cast<const char*>(data), length, flags);
}

int Recv(Socket s, void* data, int length, int flags) {
  return recv(static_cast<SOCKET>(s), static_cast<char*>(data), length, flags);
}

int Close(Socket s) { return closesocket(static_cast<SOCKET>(s)); }

Socket Accept(Socket s, SockAddrIn* peer) {
  sockaddr_in address{};
  int length = sizeof address;
  SOCKET accepted = accept(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&address), &length);
  if (accepted == INVALID_SOCKET) return kInvalidSocket;
  if (peer) *peer = *reinterpret_cast<const SockAddrIn*>(&address);
  return static_cast<Socket>(accepted);
}

int LastError() { return WSAGetLastError(); }

}  // namespace sock
