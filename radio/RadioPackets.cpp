#include "radio/RadioPackets.h"

#include <array>
#include <optional>

#include "base/Convert.h"
#include "panel/PanelState.h"
#include "radio/RadioPresence.h"

namespace {

constexpr std::uint32_t kTimeoutMs = 250;
constexpr std::size_t kBufferSize = 64;

// The radio counts in 2 kHz steps from this offset; the odd kilohertz rides
// in bit 7 of the mode flags.
constexpr std::int64_t kOddOffset = 55845;
constexpr std::int64_t kEvenOffset = 55844;

constexpr std::uint8_t kFlagSsb = 0x40;
constexpr std::uint8_t kFlagEvenKilohertz = 0x80;

using Buffer = std::array<std::uint8_t, kBufferSize>;

// Dropped while the radio is away (RadioPresence.h).
void Send(const Buffer& packet, std::uint32_t length, std::uint32_t replyLength) {
  Buffer reply{};
  ExchangeWithRadio(packet.data(), length, reply.data(), replyLength, kTimeoutMs, kTimeoutMs);
}

struct Tuning {
  std::int64_t word;  // N; always within 32 bits, the sum is formed in 64
  std::uint8_t flags;
};

Tuning TuningFor(std::int32_t kilohertz, bool ssb) {
  Tuning t{0, ssb ? kFlagSsb : std::uint8_t{0}};
  if (kilohertz % 2 != 0) {
    t.word = (std::int64_t{kilohertz} + kOddOffset) / 2;
  } else {
    t.word = (std::int64_t{kilohertz} + kEvenOffset) / 2;
    t.flags |= kFlagEvenKilohertz;
  }
  return t;
}

}  // namespace

void SendFrequency(const std::string& frequencyText) {
  const bool ssb = ModeIsSsb != 0;
  const std::optional<std::int32_t> kilohertz = TryStrToInt(frequencyText);
  if (!kilohertz) return;
  const Tuning tuning = TuningFor(*kilohertz, ssb);

  // Low byte of N, then the low byte of N / 256 (truncated toward zero):
  // N as 16 bits little-endian, its higher bits dropped.
  Buffer frequency{};
  frequency[0] = 0x01;
  frequency[1] = 0x28;
  frequency[2] = static_cast<std::uint8_t>(tuning.word & 0xFF);
  frequency[3] = static_cast<std::uint8_t>((tuning.word / 256) & 0xFF);
  frequency[4] = 0xB2;
  Send(frequency, 5, 5);

  Buffer mode{};
  mode[0] = 0x01;
  mode[1] = 0x29;
  mode[2] = tuning.flags;
  Send(mode, 5, 5);

  EntryCount = 0;
}

void SendArx() {
  Buffer packet{};
  packet[0] = 0x03;
  packet[1] = ArxOn != 0 ? 0xFF : 0x00;
  Send(packet, 2, 1);
}

void SendTenths(std::int32_t position) {
  Buffer packet{};
  packet[0] = 0x02;
  packet[1] = static_cast<std::uint8_t>(position & 0xFF);
  Send(packet, 2, 1);
}
