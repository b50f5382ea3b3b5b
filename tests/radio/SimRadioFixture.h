#pragma once
// Tests against the simulated radio, loaded the way the program loads the
// real library (the loader's search path names the simulator's folder). Each test
// gets a fresh log file and a freshly opened link.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class SimRadioTest : public ::testing::Test {
protected:
  using Setting = std::pair<const char*, const char*>;

  void SetUp() override;
  void TearDown() override;

  // Closes the link, sets the simulator's environment and opens it again.
  void OpenWith(std::initializer_list<Setting> settings = {});

  // Every log line so far; those starting with a prefix.
  std::vector<std::string> LogLines() const;
  std::vector<std::string> LogLines(const std::string& prefix) const;
  // The bytes of every packet the radio received, as "01 28 D7 7A B2".
  std::vector<std::string> PacketsSent() const;
  void ClearLog() const;

private:
  std::string logPath_;
};

// The hex bytes at the start of a "TX ..." line.
std::string PacketBytesOf(const std::string& txLine);
