#include "net/ServerConnection.h"

#include <algorithm>
#include <exception>

#include "net/SessionWindow.h"

namespace {

constexpr char kWindowClass[] = "RavolinServerConnection";
constexpr char kDeadlineClass[] = "RavolinConnectionDeadline";
constexpr long kEvents = sock::kFdRead | sock::kFdWrite | sock::kFdClose;
constexpr int kLargestSend = 1 << 20;

}  // namespace

ServerConnection::ServerConnection(sock::Socket socket, std::unique_ptr<ConnectionProtocol> protocol,
                                   const Limits& limits)
    : socket_(socket), protocol_(std::move(protocol)), limits_(limits), timer_(kDeadlineClass) {
  buffer_.resize(std::max<std::size_t>(limits_.readChunk, 1));
  timer_.OnTick = [this] { Handle(kTick); };
  window_ = platform::AllocateHiddenWindow(kWindowClass, Procedure, this);
  if (window_ == 0 || sock::AsyncSelect(socket_, window_, kSocketEventMessage, kEvents) != 0) Close();
}

ServerConnection::~ServerConnection() {
  OnFinished = nullptr;
  Close();
  if (window_ != 0) platform::DestroyHiddenWindow(window_);
}

// The first read is not left to a notification: what happened before the
// socket had its own registration (the request arrived, or the peer reset
// the connection while it waited in the listen queue) is found by reading.
void ServerConnection::Open() { Handle(kOpen | kRead); }

std::intptr_t ServerConnection::Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  auto* connection = static_cast<ServerConnection*>(platform::GetWindowOwner(window));
  if (connection == nullptr || message != kSocketEventMessage)
    return platform::DefaultWindowProc(window, message, wParam, lParam);
  if (connection->Closed() || wParam != connection->socket_) return 0;
  switch (sock::SelectEvent(lParam)) {
    case sock::kFdRead: connection->Handle(kRead); break;
    case sock::kFdWrite: connection->Handle(kWrite); break;
    case sock::kFdClose: connection->Handle(sock::SelectError(lParam) == 0 ? kPeerClosed : kReset); break;
    default: break;
  }
  return 0;
}

void ServerConnection::Handle(unsigned events) {
  pending_ |= events;
  if (busy_) {
    // The call on the stack takes it when it is done; but a reset gives the
    // socket back at once, so that a set that waits long (a nested pump
    // under other clients' sets) does not keep a dead connection open.
    if (events & kReset) Close();
    return;
  }
  busy_ = true;
  while (pending_ != 0 && !Closed()) {
    const unsigned now = pending_;
    pending_ = 0;
    if (now & kReset) {
      Close();
      break;
    }
    if (now & kPeerClosed) peerEnded_ = true;
    if (now & kOpen) RunProtocol([this] { protocol_->Opened(*this); });
    if (now & kWrite) Flush();
    if (now & (kRead | kPeerClosed)) Read();
    if (now & kTick) CheckDeadlines();
  }
  pending_ = 0;
  busy_ = false;
  if (Closed()) Finish();
}

void ServerConnection::Finish() {
  if (finishTold_ || !OnFinished) return;
  finishTold_ = true;
  const std::function<void()> finished = OnFinished;
  finished();
}

void ServerConnection::RunProtocol(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& error) {
    if (OnProtocolError) OnProtocolError(error.what());
    Close();
  } catch (...) {
    if (OnProtocolError) OnProtocolError("unknown error");
    Close();
  }
}

// One chunk per read notification, so that every client gets its turn; once
// the peer has closed no notification follows, so the rest is read at once.
void ServerConnection::Read() {
  do {
    if (!reading_) {
      if (lingering_) Discard();
      return;
    }
    if (Unsent() > limits_.maxUnsent) {
      readWaiting_ = true;  // the socket is not read, so no notification comes until Flush resumes
      return;
    }
    const int got = sock::Recv(socket_, buffer_.data(), static_cast<int>(buffer_.size()), 0);
    if (got > 0) {
      const std::string_view bytes(buffer_.data(), static_cast<std::size_t>(got));
      RunProtocol([&] { protocol_->Received(*this, bytes); });
    } else if (got == 0) {
      PeerEnded();
      return;
    } else {
      if (sock::LastError() != sock::kErrWouldBlock) Close();
      return;
    }
  } while (peerEnded_ && !Closed());
}

// The peer sends no more. What is queued still goes out, since a peer that
// closed only its sending side still reads.
void ServerConnection::PeerEnded() {
  peerEnded_ = true;
  reading_ = false;
  if (Unsent() == 0) {
    Close();
  } else {
    closeWhenSent_ = true;
  }
}

// While lingering: what the peer still sends is thrown away, until it
// closes.
void ServerConnection::Discard() {
  do {
    const int got = sock::Recv(socket_, buffer_.data(), static_cast<int>(buffer_.size()), 0);
    if (got == 0 || (got < 0 && sock::LastError() != sock::kErrWouldBlock)) {
      Close();
      return;
    }
    if (got < 0) return;
  } while (peerEnded_);
}

void ServerConnection::Send(std::string_view bytes) {
  if (Closed() || closeWhenSent_ || lingering_ || bytes.empty()) return;
  out_.append(bytes);
  Flush();
}

void ServerConnection::Flush() {
  bool progress = false;
  while (Unsent() > 0) {
    const int size = static_cast<int>(std::min<std::size_t>(Unsent(), kLargestSend));
    const int sent = sock::Send(socket_, out_.data() + sent_, size, 0);
    if (sent > 0) {
      sent_ += static_cast<std::size_t>(sent);
      progress = true;
      continue;
    }
    if (sent == sock::kSocketError && sock::LastError() == sock::kErrWouldBlock) break;
    Close();  // the peer has gone: reset, or nothing more can be sent
    return;
  }
  if (Unsent() == 0) {
    out_ = std::string();
    sent_ = 0;
    if (sendDeadline_ && !lingering_) {
      sendDeadline_.reset();
      ArmTimer();
    }
    if (closeWhenSent_) {
      SendingDone();
      return;
    }
  } else {
    if (progress || !sendDeadline_) {
      sendDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.sendStallMs);
      ArmTimer();
    }
    if (sent_ >= out_.size() / 2) {
      out_.erase(0, sent_);
      sent_ = 0;
    }
  }
  // Resumed from the handling loop, never from inside a protocol call.
  if (readWaiting_ && Unsent() <= limits_.maxUnsent) {
    readWaiting_ = false;
    pending_ |= kRead;
  }
}

void ServerConnection::CloseWhenSent() {
  if (Closed() || closeWhenSent_ || lingering_) return;
  reading_ = false;
  closeWhenSent_ = true;
  if (Unsent() == 0) SendingDone();
}

void ServerConnection::SendingDone() {
  closeWhenSent_ = false;
  if (peerEnded_ || sock::Shutdown(socket_, sock::kShutdownSend) != 0) {
    Close();
    return;
  }
  lingering_ = true;
  protocolDeadline_.reset();
  sendDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.lingerMs);
  ArmTimer();
  Discard();  // also re-arms the read notification, which the last read may have left unarmed
}

void ServerConnection::Close() {
  if (Closed()) return;
  timer_.Stop();
  sock::Close(socket_);  // its queued notifications go with it
  socket_ = sock::kInvalidSocket;
  out_ = std::string();
  sent_ = 0;
  if (!busy_) buffer_ = std::vector<char>();  // else a protocol call may still read it
  protocolDeadline_.reset();
  sendDeadline_.reset();
  if (!busy_) Finish();
}

void ServerConnection::SetDeadline(std::uint32_t ms) {
  if (Closed()) return;
  protocolDeadline_ = Clock::now() + std::chrono::milliseconds(ms);
  ArmTimer();
}

void ServerConnection::ClearDeadline() {
  if (!protocolDeadline_) return;
  protocolDeadline_.reset();
  ArmTimer();
}

void ServerConnection::CheckDeadlines() {
  const Clock::time_point now = Clock::now();
  if ((protocolDeadline_ && now >= *protocolDeadline_) || (sendDeadline_ && now >= *sendDeadline_)) {
    Close();
    return;
  }
  ArmTimer();
}

// The timer runs to the earliest deadline; a tick before it (the timer is
// periodic) re-arms it for what is left.
void ServerConnection::ArmTimer() {
  std::optional<Clock::time_point> earliest = protocolDeadline_;
  if (sendDeadline_ && (!earliest || *sendDeadline_ < *earliest)) earliest = sendDeadline_;
  if (!earliest) {
    timer_.Stop();
    return;
  }
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*earliest - Clock::now()).count();
  timer_.Start(static_cast<std::uint32_t>(std::max<long long>(left, 1)));
}

std::size_t ServerConnection::BytesHeld() const { return Unsent() + (protocol_ ? protocol_->BytesKept() : 0); }
