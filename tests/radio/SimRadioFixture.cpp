#include "tests/radio/SimRadioFixture.h"

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "panel/PanelState.h"
#include "radio/RadioLink.h"
#include "radio/RadioPresence.h"
#include "tests/support/Environment.h"

namespace {

const char* const kSimSettings[] = {"RAVOLIN_SIM_ABSENT",  "RAVOLIN_SIM_VANISH_AFTER", "RAVOLIN_SIM_TIMEOUT_AT",
                                    "RAVOLIN_SIM_FAIL_ON", "RAVOLIN_SIM_REPLY",        "RAVOLIN_SIM_UNPLUG_FILE"};

bool IsHexByte(const std::string& token) {
  return token.size() == 2 && std::isxdigit(static_cast<unsigned char>(token[0])) &&
         std::isxdigit(static_cast<unsigned char>(token[1])) && !std::islower(static_cast<unsigned char>(token[0])) &&
         !std::islower(static_cast<unsigned char>(token[1]));
}

}  // namespace

std::string PacketBytesOf(const std::string& txLine) {
  std::istringstream in(txLine.substr(3));
  std::string token, bytes;
  while (in >> token && IsHexByte(token)) bytes += (bytes.empty() ? "" : " ") + token;
  return bytes;
}

void SimRadioTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // Parameterized tests have a "/" in their names; the log is one file.
  std::string name = info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  logPath_ = ::testing::TempDir() + "ravolin_sim_" + std::to_string(getpid()) + "_" + name + ".log";
  ResetPanelState();
  OpenWith();
}

void SimRadioTest::TearDown() {
  ResetRadioLinkForTesting();
  std::remove(logPath_.c_str());
}

void SimRadioTest::OpenWith(std::initializer_list<Setting> settings) {
  ResetRadioLinkForTesting();
  ResetRadioPresenceForTesting();
  for (const char* name : kSimSettings) testsupport::UnsetEnv(name);
  for (const auto& [name, value] : settings) testsupport::SetEnv(name, value);
  testsupport::SetEnv("RAVOLIN_SIM_LOG", logPath_.c_str());
  ClearLog();
  OpenRadioLink();
}

std::vector<std::string> SimRadioTest::LogLines() const { return LogLines(""); }

std::vector<std::string> SimRadioTest::LogLines(const std::string& prefix) const {
  std::ifstream in(logPath_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  return lines;
}

std::vector<std::string> SimRadioTest::PacketsSent() const {
  std::vector<std::string> packets;
  for (const std::string& line : LogLines("TX ")) packets.push_back(PacketBytesOf(line));
  return packets;
}

void SimRadioTest::ClearLog() const { std::remove(logPath_.c_str()); }
