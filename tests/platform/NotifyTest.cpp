// Socket notifications of the POSIX backend, as window messages, against a
// loopback peer: one read notification per receive while data waits, a
// close once the data is gone, a reset as a close with its error, and
// accepts one at a time; and a notification reaches whichever loop runs.
#include <FL/Fl.H>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/messages.h"
#include "platform/sockets.h"
#include "tests/platform/Rescue.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/PumpUntil.h"

namespace {

namespace lb = testsupport::loopback;
using namespace std::chrono_literals;
using testsupport::PumpUntil;

constexpr std::uint32_t kSocketMessage = platform::kWmUser + 101;
constexpr long kEventsButWrite = 61;

struct Note {
  std::uint16_t event;
  std::uint16_t error;
};
std::vector<Note> notes;

std::intptr_t NoteProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
  if (message != kSocketMessage) return platform::DefaultWindowProc(window, message, wParam, lParam);
  notes.push_back({sock::SelectEvent(lParam), sock::SelectError(lParam)});
  return 0;
}

class PosixNotify : public ::testing::Test {
protected:
  void SetUp() override {
    window = platform::AllocateHiddenWindow("PosixNotifyTest", NoteProc, nullptr);
    ASSERT_NE(window, 0u);
    notes.clear();
    listener = lb::BoundSocket(port);
    ASSERT_TRUE(lb::Listen(listener, 4));
  }
  void TearDown() override {
    if (client != sock::kInvalidSocket) sock::Close(client);
    if (peer != lb::kNoSocket) lb::CloseSocket(peer);
    sock::AsyncSelect(static_cast<sock::Socket>(listener), window, kSocketMessage, 0);  // forgotten before close
    lb::CloseSocket(listener);
    platform::DestroyHiddenWindow(window);
  }

  // A registered client connected to an accepted peer, its connect
  // notification handled.
  void ConnectPair() {
    client = sock::Create(sock::kAfInet, sock::kSockStream, sock::kIpProtoTcp);
    ASSERT_NE(client, sock::kInvalidSocket);
    ASSERT_EQ(sock::AsyncSelect(client, window, kSocketMessage, kEventsButWrite), 0);
    sock::SockAddrIn address{};
    address.family = sock::kAfInet;
    address.port = sock::Htons(port);
    address.address = sock::InetAddr("127.0.0.1");
    if (sock::Connect(client, address) != 0) {
      ASSERT_EQ(sock::LastError(), sock::kErrWouldBlock);
    }
    peer = lb::AcceptConnection(listener);
    ASSERT_NE(peer, lb::kNoSocket);
    ASSERT_TRUE(PumpUntil([&] { return Count(sock::kFdConnect) == 1; }));
    notes.clear();
  }
  void PeerSends(const std::string& bytes) {
    ASSERT_EQ(lb::SendSome(peer, bytes.data(), bytes.size(), false), static_cast<long>(bytes.size()));
  }
  std::string Receive(int flags = 0) {
    char buffer[64];
    const int got = sock::Recv(client, buffer, sizeof buffer, flags);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
  }

  static int Count(long event) {
    int count = 0;
    for (const Note& note : notes) count += note.event == event;
    return count;
  }
  // Handles everything that is pending; the data the tests look at is
  // already in the socket, so a notification it allows is posted by now.
  static void Settle() {
    for (int i = 0; i < 3; ++i) platform::ProcessMessages();
  }

  platform::WindowHandle window = 0;
  int listener = lb::kNoSocket;
  std::uint16_t port = 0;
  sock::Socket client = sock::kInvalidSocket;
  int peer = lb::kNoSocket;
};

TEST_F(PosixNotify, OneReadNotificationPerReceiveWhileDataWaits) {
  ASSERT_NO_FATAL_FAILURE(ConnectPair());
  ASSERT_NO_FATAL_FAILURE(PeerSends("abcdef"));
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdRead) == 1; }));
  Settle();
  EXPECT_EQ(Count(sock::kFdRead), 1);  // not again before a receive

  char two[2];
  ASSERT_EQ(sock::Recv(client, two, 2, 0), 2);
  Settle();
  EXPECT_EQ(Count(sock::kFdRead), 2);  // data remains after the receive

  EXPECT_EQ(Receive(sock::kMsgPeek), "cdef");
  Settle();
  EXPECT_EQ(Count(sock::kFdRead), 3);  // a peek re-arms as well

  EXPECT_EQ(Receive(), "cdef");
  Settle();
  EXPECT_EQ(Count(sock::kFdRead), 3);  // nothing left, nothing said
  EXPECT_EQ(Receive(), "");
  EXPECT_EQ(sock::LastError(), sock::kErrWouldBlock);
  Settle();
  EXPECT_EQ(notes.size(), 3u);

  ASSERT_NO_FATAL_FAILURE(PeerSends("g"));
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdRead) == 4; }));
  for (const Note& note : notes) EXPECT_EQ(note.error, 0);
}

TEST_F(PosixNotify, CloseComesOnceAfterTheLastByteIsRead) {
  ASSERT_NO_FATAL_FAILURE(ConnectPair());
  ASSERT_NO_FATAL_FAILURE(PeerSends("xy"));
  lb::CloseSocket(peer);
  peer = lb::kNoSocket;
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdRead) == 1; }));
  Settle();
  EXPECT_EQ(Count(sock::kFdClose), 0);  // unread data first

  EXPECT_EQ(Receive(), "xy");
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdClose) == 1; }));
  EXPECT_EQ(notes.back().error, 0);
  EXPECT_EQ(Receive(), "");
  Settle();
  EXPECT_EQ(Count(sock::kFdClose), 1);
}

TEST_F(PosixNotify, ResetIsACloseWithItsError) {
  ASSERT_NO_FATAL_FAILURE(ConnectPair());
  lb::SetResetOnClose(peer);
  lb::CloseSocket(peer);
  peer = lb::kNoSocket;
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdClose) == 1; }));
  EXPECT_EQ(notes.back().error, sock::kErrConnReset);
  Settle();
  EXPECT_EQ(notes.size(), 1u);
}

TEST_F(PosixNotify, NotificationsReachALoopThatIsNotThePump) {
  // A modal dialog runs FLTK's loop directly; the socket's messages must
  // still be handled while it is open.
  ASSERT_NO_FATAL_FAILURE(ConnectPair());
  Rescue rescue(10s);
  ASSERT_NO_FATAL_FAILURE(PeerSends("a"));
  while (Count(sock::kFdRead) == 0 && !rescue.Fired()) Fl::wait(60.0);
  EXPECT_EQ(Receive(), "a");
  ASSERT_NO_FATAL_FAILURE(PeerSends("b"));
  while (Count(sock::kFdRead) == 1 && !rescue.Fired()) Fl::wait(60.0);
  rescue.Stop();
  EXPECT_EQ(Count(sock::kFdRead), 2);
  EXPECT_FALSE(rescue.Fired());
}

TEST_F(PosixNotify, ANotificationEndsABlockedPumpWait) {
  ASSERT_NO_FATAL_FAILURE(ConnectPair());
  Rescue rescue(10s);
  std::thread sender([this] { PeerSends("z"); });
  while (Count(sock::kFdRead) == 0 && !rescue.Fired()) platform::WaitAndProcessMessages(60000);
  sender.join();
  rescue.Stop();
  EXPECT_EQ(Count(sock::kFdRead), 1);
  EXPECT_FALSE(rescue.Fired());
}

TEST_F(PosixNotify, AcceptsAreNotifiedOneAtATime) {
  const auto handle = static_cast<sock::Socket>(listener);
  ASSERT_EQ(sock::AsyncSelect(handle, window, kSocketMessage, kEventsButWrite), 0);
  const int first = lb::ConnectLoopback(port);
  const int second = lb::ConnectLoopback(port);
  ASSERT_NE(first, lb::kNoSocket);
  ASSERT_NE(second, lb::kNoSocket);

  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdAccept) == 1; }));
  Settle();
  EXPECT_EQ(Count(sock::kFdAccept), 1);  // not again before an accept

  const sock::Socket one = sock::Accept(handle, nullptr);
  ASSERT_NE(one, sock::kInvalidSocket);
  ASSERT_TRUE(PumpUntil([] { return Count(sock::kFdAccept) == 2; }));  // the second still waits
  const sock::Socket two = sock::Accept(handle, nullptr);
  ASSERT_NE(two, sock::kInvalidSocket);
  Settle();
  EXPECT_EQ(Count(sock::kFdAccept), 2);  // nobody else is waiting

  sock::Close(one);
  sock::Close(two);
  lb::CloseSocket(first);
  lb::CloseSocket(second);
}

}  // namespace
