#pragma once
// How the simulated radio behaves, read from the environment each time it is
// attached (the write pipe is opened while no pipe is open).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class AbsentPipes { None, Both, ReadPipe, WritePipe };
enum class FailingCall { Write, Read };
enum class ReplyStyle { Normal, Short, Long, Empty };

struct SimConfig {
  std::string logDestination;                    // empty: silent; "-" or "stderr": standard error
  AbsentPipes absent = AbsentPipes::None;        // pipes that refuse to open
  std::optional<std::uint64_t> vanishAfter;      // packets answered before the radio is unplugged
  std::optional<std::uint64_t> timeOutPacket;    // 1-based packet that times out once
  FailingCall failingCall = FailingCall::Write;  // which call of that packet fails
  ReplyStyle reply = ReplyStyle::Normal;
  std::string unplugFile;            // while this file exists, the radio is unplugged
  std::vector<std::string> ignored;  // settings that were not understood, for the log
};

SimConfig LoadSimConfig();

// One line that says how the radio was set up, for the log.
std::string DescribeSimConfig(const SimConfig& config);

}  // namespace sim
