#pragma once
// Whether the radio is there, as its exchanges tell. It goes away when an
// exchange fails with "device not connected" (1167): the library keeps its
// pipes, and the radio may be plugged in again. While it is away the packet
// senders drop their packets instead of waiting on a library that can only
// fail; the panel probes for the radio's return with a RadioProbe.
//
// Program-wide, like the link; user-interface thread only.

#include <cstdint>
#include <functional>

// True from an exchange that failed with "device not connected" until
// MarkRadioBack.
bool RadioAway();

// Called once each time the radio goes away, inside the exchange that found
// it gone. One handler; an empty one removes it.
void SetRadioGoneHandler(std::function<void()> handler);

void MarkRadioBack();

// The packet senders' one way to the link: ExchangePacket, unless the radio
// is away and no probe runs, when the packet is dropped at no cost and the
// result is kExchangeFailed.
std::int32_t ExchangeWithRadio(const std::uint8_t* packet, std::uint32_t packetLength, std::uint8_t* reply,
                               std::uint32_t& replyLength, std::uint32_t sendTimeoutMs, std::uint32_t receiveTimeoutMs);

// While one lives, packets reach the link although the radio is away, and
// what became of them is counted here: a failure with "device not
// connected" does not mark the radio away again. One at a time.
class RadioProbe {
public:
  RadioProbe();
  ~RadioProbe();
  RadioProbe(const RadioProbe&) = delete;
  RadioProbe& operator=(const RadioProbe&) = delete;

  int Answered() const { return answered_; }          // the radio replied (a reply of any length)
  int NotConnected() const { return notConnected_; }  // failed with "device not connected"

  // Counts one exchange through the link; for ExchangeWithRadio.
  void Count(bool answered, bool notConnected);

private:
  int answered_ = 0;
  int notConnected_ = 0;
};

// Tests only: the radio present again and no handler.
void ResetRadioPresenceForTesting();
