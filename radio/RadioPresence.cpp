#include "radio/RadioPresence.h"

#include <utility>

#include "base/Assert.h"
#include "platform/library.h"
#include "radio/RadioLink.h"

namespace {

bool away = false;
std::function<void()> goneHandler;
RadioProbe* runningProbe = nullptr;

bool LinkOpen() { return OutPipe != kPipeNotOpen && InPipe != kPipeNotOpen; }

}  // namespace

bool RadioAway() { return away; }

void SetRadioGoneHandler(std::function<void()> handler) { goneHandler = std::move(handler); }

void MarkRadioBack() { away = false; }

std::int32_t ExchangeWithRadio(const std::uint8_t* packet, std::uint32_t packetLength, std::uint8_t* reply,
                               std::uint32_t& replyLength, std::uint32_t sendTimeoutMs,
                               std::uint32_t receiveTimeoutMs) {
  if (away && runningProbe == nullptr) return kExchangeFailed;

  // The link calls the library only while both pipes are open, and then a
  // failure leaves its own error; a 0 result without one is a reply longer
  // than asked, which is still an answer.
  const bool libraryCalled = LinkOpen();
  platform::ClearLastSystemError();
  const std::int32_t result = ExchangePacket(packet, packetLength, reply, replyLength, sendTimeoutMs, receiveTimeoutMs);
  const std::uint32_t error = result == kExchangeFailed && libraryCalled ? platform::LastSystemError() : 0;
  const bool notConnected = error == platform::kErrorDeviceNotConnected;
  const bool answered = libraryCalled && (result != kExchangeFailed || error == 0);

  if (runningProbe != nullptr) {
    runningProbe->Count(answered, notConnected);
  } else if (notConnected) {
    away = true;
    if (goneHandler) goneHandler();
  }
  return result;
}

RadioProbe::RadioProbe() {
  RAVOLIN_ASSERT(runningProbe == nullptr, "one probe at a time");
  runningProbe = this;
}

RadioProbe::~RadioProbe() { runningProbe = nullptr; }

void RadioProbe::Count(bool answered, bool notConnected) {
  if (answered) ++answered_;
  if (notConnected) ++notConnected_;
}

void ResetRadioPresenceForTesting() {
  away = false;
  goneHandler = nullptr;
}
