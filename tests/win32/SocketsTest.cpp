// Winsock notifications as the session layer sees them, against a loopback
// peer. Wine and Windows differ in details the session must tolerate (a
// spurious read notification after a peek, a reset reported as a plain
// close), so these tests accept both.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/sockets.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using testsupport::PumpUntil;

constexpr std::uint32_t kSocketMessage = platform::kWmUser + 101;
constexpr std::uint32_t kLookupMessage = platform::kWmUser + 102;

struct Note {
  std::uint32_t message;
  std::uintptr_t wParam;
  std::uint16_t event;
  std::uint16_t error;
};
std::vector<Note> notes;

std::intptr_t NoteProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
  if (message == kSocketMessage || message == kLookupMessage) {
    notes.push_back({message, wParam, sock::SelectEvent(lParam), sock::SelectError(lParam)});
    return 0;
  }
  return platform::DefaultWindowProc(window, message, wParam, lParam);
}

// A listening loopback socket on a port the system picks.
struct Listener {
  SOCKET s = INVALID_SOCKET;
  std::uint16_t port = 0;  // network order
  Listener() {
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(s, 4);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = address.sin_port;
  }
  ~Listener() { closesocket(s); }
  SOCKET AcceptOne() { return accept(s, nullptr, nullptr); }
};

sock::SockAddrIn Loopback(std::uint16_t port) {
  sock::SockAddrIn address{};
  address.family = sock::kAfInet;
  address.port = port;
  address.address = sock::InetAddr("127.0.0.1");
  return address;
}

class Win32Sockets : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(sock::Startup(0x0101), 0);
    window = platform::AllocateHiddenWindow("Win32SocketTest", NoteProc, nullptr);
    notes.clear();
  }
  void TearDown() override {
    platform::DestroyHiddenWindow(window);
    sock::Cleanup();
  }
  bool HasEvent(long event) const {
    for (const Note& note : notes)
      if (note.message == kSocketMessage && note.event == event) return true;
    return false;
  }
  const Note* Find(long event) const {
    for (const Note& note : notes)
      if (note.message == kSocketMessage && note.event == event) return &note;
    return nullptr;
  }
  sock::Socket Client() {
    sock::Socket s = sock::Create(sock::kAfInet, sock::kSockStream, sock::kIpProtoTcp);
    EXPECT_NE(s, sock::kInvalidSocket);
    EXPECT_LT(s, 65535u);  // the session keeps handles in 16 bits
    EXPECT_EQ(sock::AsyncSelect(s, window, kSocketMessage, 61), 0);
    return s;
  }
  platform::WindowHandle window = 0;
};

TEST_F(Win32Sockets, ConnectReadAndPeerCloseArriveAsNotifications) {
  Listener listener;
  sock::Socket s = Client();
  int result = sock::Connect(s, Loopback(listener.port));
  if (result == sock::kSocketError) {
    EXPECT_EQ(sock::LastError(), sock::kErrWouldBlock);
  }
  SOCKET peer = listener.AcceptOne();
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdConnect); }));
  EXPECT_EQ(Find(sock::kFdConnect)->error, 0);
  EXPECT_EQ(Find(sock::kFdConnect)->wParam, s);

  char byte;
  EXPECT_EQ(sock::Recv(s, &byte, 1, 0), sock::kSocketError);  // nothing sent yet
  EXPECT_EQ(sock::LastError(), sock::kErrWouldBlock);

  send(peer, "hello", 5, 0);
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdRead); }));
  char data[16] = {};
  EXPECT_EQ(sock::Recv(s, data, 1, sock::kMsgPeek), 1);  // a peek leaves the data in place
  std::string received;
  ASSERT_TRUE(PumpUntil([&] {
    int n = sock::Recv(s, data, sizeof data, 0);
    if (n > 0) received.append(data, n);
    return received.size() == 5;
  }));
  EXPECT_EQ(received, "hello");

  EXPECT_EQ(sock::Send(s, "ok", 2, 0), 2);
  char reply[2];
  EXPECT_EQ(recv(peer, reply, 2, 0), 2);

  closesocket(peer);
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdClose); }));
  EXPECT_EQ(Find(sock::kFdClose)->error, 0);
  EXPECT_EQ(sock::Recv(s, data, sizeof data, 0), 0);
  EXPECT_EQ(sock::Close(s), 0);
}

TEST_F(Win32Sockets, ARefusedConnectIsOneConnectNotificationWithItsError) {
  sock::Socket s = Client();
  std::uint16_t port;
  {
    Listener closed;  // a port that was just free, and is no longer listened on
    port = closed.port;
  }
  sock::Connect(s, Loopback(port));
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdConnect); }, 10s));
  EXPECT_EQ(Find(sock::kFdConnect)->error, sock::kErrConnRefused);
  sock::Close(s);
}

TEST_F(Win32Sockets, ALingerOfZeroResetsThePeer) {
  Listener listener;
  sock::Socket s = Client();
  EXPECT_EQ(sock::SetLinger(s, 1, 0), 0);
  sock::Connect(s, Loopback(listener.port));
  SOCKET peer = listener.AcceptOne();
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdConnect); }));
  sock::Close(s);
  char data[4];
  int n = recv(peer, data, sizeof data, 0);
  // Windows reports the reset as 10054; Wine may report it as an orderly end.
  EXPECT_TRUE(n == 0 || (n == SOCKET_ERROR && WSAGetLastError() == WSAECONNRESET)) << n;
  closesocket(peer);
}

TEST_F(Win32Sockets, NotificationsOfAClosedSocketNeverReachTheNextOneUnderItsHandle) {
  Listener listener;
  sock::Socket first = Client();
  sock::Connect(first, Loopback(listener.port));
  SOCKET peer = listener.AcceptOne();
  ASSERT_TRUE(PumpUntil([&] { return HasEvent(sock::kFdConnect); }));
  notes.clear();
  closesocket(peer);
  // The close notification is queued, not yet handled, when the socket goes.
  ASSERT_TRUE(testsupport::WaitUntil([] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE)) != 0; }));
  EXPECT_EQ(sock::Close(first), 0);
  sock::Socket second = Client();  // Winsock hands out the same handle again
  for (int pass = 0; pass < 5; ++pass) platform::ProcessMessages();
  EXPECT_TRUE(notes.empty()) << notes.size() << " notifications, handle reused: " << (second == first);
  sock::Close(second);
}

TEST_F(Win32Sockets, ALookupWritesAPackedEntryIntoTheCallersBuffer) {
  std::vector<char> buffer(1024, '\x55');
  sock::AsyncTask task = sock::AsyncGetHostByName(window, kLookupMessage, "localhost", buffer.data(), 1024);
  ASSERT_NE(task, 0u);
  ASSERT_TRUE(PumpUntil([] { return !notes.empty(); }, 10s));
  EXPECT_EQ(notes[0].message, kLookupMessage);
  EXPECT_EQ(notes[0].wParam, task);
  ASSERT_EQ(notes[0].error, 0);
  EXPECT_GT(notes[0].event, 0);  // the reply length
  auto* entry = reinterpret_cast<sock::HostEntry*>(buffer.data());
  char* begin = buffer.data();
  char* end = begin + buffer.size();
  ASSERT_EQ(entry->addressLength, 4);
  ASSERT_TRUE(reinterpret_cast<char*>(entry->addressList) >= begin &&
              reinterpret_cast<char*>(entry->addressList) < end);
  ASSERT_NE(entry->addressList[0], nullptr);
  EXPECT_TRUE(entry->addressList[0] >= begin && entry->addressList[0] < end);
  EXPECT_TRUE(entry->name >= begin && entry->name < end);
  std::uint32_t address;
  std::memcpy(&address, entry->addressList[0], 4);
  EXPECT_EQ(address, sock::InetAddr("127.0.0.1"));
}

TEST_F(Win32Sockets, AbandonedLookupsNeverWriteTheirBuffer) {
  std::vector<char> cancelled(1024, '\x55');
  std::vector<char> orphaned(1024, '\x55');
  std::vector<char> last(1024, '\x55');
  sock::AsyncTask first = sock::AsyncGetHostByName(window, kLookupMessage, "localhost", cancelled.data(), 1024);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(sock::CancelAsyncRequest(first), 0);
  EXPECT_EQ(sock::CancelAsyncRequest(first), sock::kSocketError);  // once only

  platform::WindowHandle doomed = platform::CreateHiddenWindow("Win32SocketTest");
  ASSERT_NE(sock::AsyncGetHostByName(doomed, kLookupMessage, "localhost", orphaned.data(), 1024), 0u);
  platform::DestroyHiddenWindow(doomed);

  // Once a later lookup has been answered, the earlier ones are at least as
  // far along; neither may have left a trace.
  sock::AsyncTask third = sock::AsyncGetHostByName(window, kLookupMessage, "localhost", last.data(), 1024);
  ASSERT_TRUE(PumpUntil(
      [&] {
        for (const Note& note : notes)
          if (note.wParam == third) return true;
        return false;
      },
      10s));
  for (int pass = 0; pass < 5; ++pass) platform::ProcessMessages();
  EXPECT_EQ(notes.size(), 1u);
  EXPECT_EQ(cancelled, std::vector<char>(1024, '\x55'));
  EXPECT_EQ(orphaned, std::vector<char>(1024, '\x55'));
  EXPECT_NE(last, std::vector<char>(1024, '\x55'));
}

TEST_F(Win32Sockets, AnUnknownNameFailsWithAnErrorInTheReply) {
  char buffer[1024];
  sock::AsyncGetHostByName(window, kLookupMessage, "no-such-host.invalid", buffer, sizeof buffer);
  ASSERT_TRUE(PumpUntil([] { return !notes.empty(); }, 20s));
  EXPECT_NE(notes[0].error, 0);
}

}  // namespace
