// The session window's dispatch, the error table and TThreadTimer.

#include <gtest/gtest.h>

#include "base/Application.h"
#include "tests/net/SessionProbe.h"
#include "tests/support/ScriptedServer.h"

using namespace testsupport;

TEST(ErrorTable, Texts) {
  EXPECT_EQ(FormatSocketError(0), "");
  EXPECT_EQ(FormatSocketError(10061), "10061:Connection refused");
  EXPECT_EQ(FormatSocketError(10004), "10004:Interrupted system call");
  EXPECT_EQ(FormatSocketError(10065), "10065:No route to Host");
  EXPECT_EQ(FormatSocketError(11003), "11003:Non-Recoverable error: FORMERR, REFUSED, NOTIMP");
  EXPECT_EQ(FormatSocketError(11004), "11004:Valid name, no data record of requested type");
  EXPECT_EQ(FormatSocketError(10072), "Unknown Error No. 10072");
  EXPECT_EQ(FormatSocketError(5), "Unknown Error No. 5");
  int rows = 0;
  for (int number = 10000; number < 11100; ++number) rows += SocketErrorText(number) != nullptr;
  EXPECT_EQ(rows, 50);
}

TEST(ErrorTable, CheckSocketErrorRaisesAfterTheHook) {
  SessionProbe session;
  std::vector<std::pair<int, std::string>> hooked;
  session.OnSocketError = [&](TComponent*, std::uint16_t error, const std::string& text) {
    hooked.emplace_back(error, text);
  };
  char byte;
  // Receiving on a socket that is not connected fails with 10057.
  ASSERT_EQ(sock::Recv(session.GetSocketHandle(), &byte, 1, 0), sock::kSocketError);
  EXPECT_NO_THROW(session.CheckSocketError(sock::kErrNotConn));
  EXPECT_TRUE(hooked.empty());
  ASSERT_EQ(sock::Recv(session.GetSocketHandle(), &byte, 1, 0), sock::kSocketError);
  try {
    session.CheckSocketError(sock::kErrWouldBlock);
    FAIL() << "nothing raised";
  } catch (const ESockError& error) {
    EXPECT_EQ(error.Message(), "10057:Socket is not connected");
  }
  EXPECT_EQ(hooked, (std::vector<std::pair<int, std::string>>{{10057, "10057:Socket is not connected"}}));
  EXPECT_EQ(session.GetLastErrorNo(), 10057);
}

TEST(SessionWindow, DispatchTable) {
  SessionProbe session;
  const auto window = session.Window();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(platform::GetWindowOwner(window), &session);
  const auto failed = sock::MakeSelectLParam(0, sock::kErrConnRefused);

  // Below 1125 the session never sees a message.
  platform::SendWindowMessage(window, kSocketEventMessage - 1, 0, failed);
  EXPECT_FALSE(session.IsSucceeded());
  platform::SendWindowMessage(window, kSocketEventMessage + 2, 0, 0);
  EXPECT_TRUE(session.IsSucceeded());
  platform::SendWindowMessage(window, kSocketEventMessage + 2, 0, failed);
  EXPECT_FALSE(session.IsSucceeded());
  EXPECT_FALSE(session.IsWaitDone());

  // A failed connect notification changes nothing but Succeeded.
  int connects = 0;
  session.OnConnect = [&](TComponent*) { ++connects; };
  platform::SendWindowMessage(window, kSocketEventMessage, session.GetSocketHandle(),
                              sock::MakeSelectLParam(sock::kFdConnect, sock::kErrConnRefused));
  EXPECT_FALSE(session.GetConnected());
  EXPECT_EQ(connects, 0);

  // Hooks that raise are contained.
  session.OnDataArrived = [](TComponent*) { throw Exception("hook failed"); };
  EXPECT_EQ(platform::SendWindowMessage(window, kSocketEventMessage, session.GetSocketHandle(),
                                        sock::MakeSelectLParam(sock::kFdRead, 0)),
            0);
}

TEST(SessionWindow, CloseNotificationWaitsForUnreadData) {
  ScriptedServer server({{Send("x"), Silent()}});
  SessionProbe session;
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
  ASSERT_TRUE(PumpUntil([&] { return session.DataAvailable(); }));
  const auto socket = session.GetSocketHandle();
  platform::SendWindowMessage(session.Window(), kSocketEventMessage, socket, sock::MakeSelectLParam(sock::kFdClose, 0));
  EXPECT_TRUE(session.GetConnected());
  EXPECT_EQ(session.GetSocketHandle(), socket);
  std::string text;
  session.CaptureString(text, 1);
  EXPECT_EQ(text, "x");
}

TEST(ThreadTimer, RunsOnlyWithIntervalEnabledAndHandler) {
  TThreadTimer reference(nullptr), idle(nullptr), unhandled(nullptr);
  int ticks = 0, idleTicks = 0;
  reference.SetInterval(5);
  reference.SetOnTimer([&](TComponent* sender) {
    EXPECT_EQ(sender, &reference);
    ++ticks;
  });
  idle.SetInterval(0);
  idle.SetOnTimer([&](TComponent*) { ++idleTicks; });
  unhandled.SetInterval(1);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 5; }));
  EXPECT_EQ(idleTicks, 0);

  // Stopped, it stays quiet while the reference keeps ticking.
  idle.SetInterval(1);
  ASSERT_TRUE(PumpUntil([&] { return idleTicks >= 1; }));
  idle.SetEnabled(false);
  const int stoppedAt = idleTicks;
  ticks = 0;
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 5; }));
  EXPECT_EQ(idleTicks, stoppedAt);
}

TEST(ThreadTimer, TimerWindowAnswers) {
  TThreadTimer timer(nullptr);
  const auto window = timer.WindowHandle();
  ASSERT_NE(window, 0u);
  int ticks = 0;
  timer.SetInterval(0);
  timer.SetOnTimer([&](TComponent*) { ++ticks; });
  EXPECT_EQ(platform::SendWindowMessage(window, platform::kWmActivateApp, 1, 0), 0);
  EXPECT_EQ(platform::SendWindowMessage(window, platform::kWmTimer, 1, 0), 0);
  EXPECT_EQ(ticks, 1);
}

TEST(ThreadTimer, HandlerErrorsGoToTheApplicationAndTicksGoOn) {
  std::vector<std::string> reported;
  SetApplicationExceptionHandler([&](const std::exception& error) { reported.emplace_back(error.what()); });
  {
    TThreadTimer timer(nullptr);
    timer.SetInterval(2);
    timer.SetOnTimer([](TComponent*) { throw Exception("tick failed"); });
    EXPECT_TRUE(PumpUntil([&] { return reported.size() >= 3; }));
  }
  SetApplicationExceptionHandler(nullptr);
  EXPECT_EQ(reported.front(), "tick failed");
}

TEST(ThreadTimer, SessionTimeOutStartsFresh) {
  SessionProbe session;
  TThreadTimer* timer = session.TimeOutTimer();
  EXPECT_FALSE(timer->GetEnabled());
  session.TimeOut = 0;
  session.Cancel();
  ScriptedServer server({{Silent()}});
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();  // clears the cancel of before
  EXPECT_TRUE(session.GetConnected());
  EXPECT_FALSE(timer->GetEnabled());
  EXPECT_EQ(timer->GetInterval(), 0u);
}
