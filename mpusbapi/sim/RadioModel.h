#pragma once
// The radio as seen from the bus: it decodes each packet, keeps what it was
// tuned to, and says how long its answer is.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

struct RadioAnswer {
  std::string meaning;            // e.g. "mode SSB even -> 7050 kHz SSB"
  std::uint32_t replyLength = 0;  // bytes the radio sends back
  std::array<std::uint8_t, 64> reply{};
};

class RadioModel {
public:
  RadioAnswer Receive(const std::uint8_t* packet, std::uint32_t length);

private:
  std::string TuneFromMode(std::uint8_t flags);

  std::optional<std::uint16_t> tuningWord_;  // N of the last frequency packet
  std::optional<std::int64_t> kilohertz_;
  bool ssb_ = true;
  std::uint8_t tenths_ = 0;
  bool arx_ = false;
};

}  // namespace sim
