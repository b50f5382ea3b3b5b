// The socket calls on Winsock. The numbers of the interface are Winsock's
// own, so the calls pass straight through, except for the notifications.
//
// Winsock reuses a closed socket's handle at once, while notifications it
// posted for the old socket may still be queued; delivered as they are, a
// stale close would end the new connection under the same handle. So each
// registration posts to a relay window of ours under a message number of its
// own, and the relay forwards a notification only while its socket is still
// registered under that number.

#include <winsock2.h>

#include <map>

#include "platform/sockets.h"
#include "platform/win32/relay_window.h"

namespace sock {
namespace {

constexpr UINT kFirstRelayMessage = WM_USER + 0x100;
constexpr UINT kRelayMessages = 0x4000;
constexpr char kRelayClass[] = "RavolinSocketRelay";

struct Registration {
  HWND window;
  UINT message;
  UINT relayMessage;
  long events;
};

// UI thread only, as the notifications are.
std::map<SOCKET, Registration> registrations;
UINT nextRelayMessage = kFirstRelayMessage;

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < kFirstRelayMessage || message >= kFirstRelayMessage + kRelayMessages)
    return DefWindowProcA(window, message, wParam, lParam);
  auto found = registrations.find(static_cast<SOCKET>(wParam));
  if (found != registrations.end() && found->second.relayMessage == message)
    SendMessageA(found->second.window, found->second.message, wParam, lParam);
  return 0;
}

HWND RelayWindow() {
  static HWND window = platform::win32::CreateRelayWindow(kRelayClass, RelayProc);
  return window;
}

UINT TakeRelayMessage() {
  UINT message = nextRelayMessage++;
  if (nextRelayMessage == kFirstRelayMessage + kRelayMessages) nextRelayMessage = kFirstRelayMessage;
  return message;
}

int Register(SOCKET s, HWND window, UINT message, long events) {
  registrations.erase(s);
  if (window == nullptr || events == 0) return WSAAsyncSelect(s, RelayWindow(), 0, 0);
  HWND relay = RelayWindow();
  if (relay == nullptr) {
    WSASetLastError(WSAENOBUFS);
    return SOCKET_ERROR;
  }
  const UINT relayMessage = TakeRelayMessage();
  if (WSAAsyncSelect(s, relay, relayMessage, events) == SOCKET_ERROR) return SOCKET_ERROR;
  registrations[s] = Registration{window, message, relayMessage, events};
  return 0;
}

}  // namespace

static_assert(sizeof(SockAddrIn) == sizeof(sockaddr_in));
static_assert(kMsgPeek == MSG_PEEK && kFdRead == FD_READ && kFdClose == FD_CLOSE && kFdConnect == FD_CONNECT);
static_assert(kErrWouldBlock == WSAEWOULDBLOCK && kErrHostNotFound == WSAHOST_NOT_FOUND);
static_assert(kFdAccept == FD_ACCEPT && kFdWrite == FD_WRITE && kShutdownSend == SD_SEND);

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
  return setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), sizeof value);
}

int AsyncSelect(Socket s, platform::WindowHandle window, std::uint32_t message, long events) {
  return Register(static_cast<SOCKET>(s), reinterpret_cast<HWND>(window), message, events);
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

int Close(Socket s) {
  registrations.erase(static_cast<SOCKET>(s));
  return closesocket(static_cast<SOCKET>(s));
}

Socket Accept(Socket s, SockAddrIn* peer) {
  sockaddr_in address{};
  int length = sizeof address;
  SOCKET accepted = accept(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&address), &length);
  if (accepted == INVALID_SOCKET) return kInvalidSocket;
  // The new socket notifies like the listening one, under its own number.
  auto listener = registrations.find(static_cast<SOCKET>(s));
  if (listener != registrations.end()) {
    const Registration from = listener->second;
    Register(accepted, from.window, from.message, from.events);
  }
  if (peer) *peer = *reinterpret_cast<const SockAddrIn*>(&address);
  return static_cast<Socket>(accepted);
}

int LastError() { return WSAGetLastError(); }

// Windows binds a port whose old connections are still closing without any
// option, and refuses a port another socket listens on; the reuse option
// would let two listeners share it.
int Bind(Socket s, const SockAddrIn& address) {
  return bind(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int Listen(Socket s, int backlog) { return listen(static_cast<SOCKET>(s), backlog); }

int LocalAddress(Socket s, SockAddrIn* address) {
  int length = sizeof *address;
  return getsockname(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(address), &length);
}

int Shutdown(Socket s, int how) { return shutdown(static_cast<SOCKET>(s), how); }

}  // namespace sock
