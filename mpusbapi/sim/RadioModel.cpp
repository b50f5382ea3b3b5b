#include "RadioModel.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

// The tuning word counts 2 kHz steps; bit 7 of the mode flags marks an even
// frequency, which sits one kilohertz above the odd one of the same word.
constexpr std::int64_t kOddOffset = 55845;
constexpr std::int64_t kEvenOffset = 55844;
constexpr std::uint8_t kFlagSsb = 0x40;
constexpr std::uint8_t kFlagEven = 0x80;

constexpr std::uint32_t kTuningReply = 5;
constexpr std::uint32_t kSettingReply = 1;

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
  return text;
}

}  // namespace

RadioAnswer RadioModel::Receive(const std::uint8_t* packet, std::uint32_t length) {
  RadioAnswer answer;
  const std::uint8_t command = length > 0 ? packet[0] : 0;

  if (length == 5 && command == 0x01 && packet[1] == 0x28) {
    tuningWord_ = static_cast<std::uint16_t>(packet[2] | (packet[3] << 8));
    answer.meaning = "freq-word N=" + std::to_string(*tuningWord_);
    if (packet[4] != 0xB2) answer.meaning += " (last byte " + Hex2(packet[4]) + ", expected 0xB2)";
    answer.replyLength = kTuningReply;
  } else if (length == 5 && command == 0x01 && packet[1] == 0x29) {
    answer.meaning = TuneFromMode(packet[2]);
    if (packet[3] != 0 || packet[4] != 0) answer.meaning += " (trailing bytes not zero)";
    answer.replyLength = kTuningReply;
  } else if (length == 2 && command == 0x02) {
    tenths_ = packet[1];
    answer.meaning = "tenths " + std::to_string(tenths_);
    if (tenths_ > 9) answer.meaning += " (outside 0 to 9)";
    answer.replyLength = kSettingReply;
  } else if (length == 2 && command == 0x03) {
    if (packet[1] == 0xFF || packet[1] == 0x00) {
      arx_ = packet[1] == 0xFF;
      answer.meaning = arx_ ? "arx on" : "arx off";
    } else {
      answer.meaning = "arx " + Hex2(packet[1]) + " (neither on nor off, ignored)";
    }
    answer.replyLength = kSettingReply;
  } else {
    answer.meaning = "unknown packet of " + std::to_string(length) + " bytes";
    answer.replyLength = kSettingReply;
  }

  // The radio echoes the start of the command it answers.
  std::copy_n(packet, std::min<std::uint32_t>(length, answer.replyLength), answer.reply.begin());
  return answer;
}

std::string RadioModel::TuneFromMode(std::uint8_t flags) {
  ssb_ = (flags & kFlagSsb) != 0;
  const bool even = (flags & kFlagEven) != 0;
  std::string meaning = std::string("mode ") + (ssb_ ? "SSB" : "AM") + (even ? " even" : " odd");
  if ((flags & ~(kFlagSsb | kFlagEven)) != 0) meaning += " (stray bits in " + Hex2(flags) + ")";
  if (!tuningWord_) return meaning + " (no frequency word yet)";
  kilohertz_ = 2 * std::int64_t{*tuningWord_} - (even ? kEvenOffset : kOddOffset);
  return meaning + " -> " + std::to_string(*kilohertz_) + " kHz " + (ssb_ ? "SSB" : "AM");
}

}  // namespace sim
