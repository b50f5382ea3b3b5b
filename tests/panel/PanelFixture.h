#pragma once
// Panel logic against the fake window and the simulated radio, in a fresh
// working directory per test.

#include <filesystem>
#include <set>
#include <string>

#include "panel/Unit1.h"
#include "tests/panel/FakePanelView.h"
#include "tests/radio/SimRadioFixture.h"

class PanelTest : public SimRadioTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the panel as the program does (FormCreate opens the radio
  // itself), first closing the pipes the fixture opened, which would
  // otherwise stay open in the simulator for the rest of the process.
  void StartPanel();

  // Writes a file in the test's working directory; reads one ("" when it
  // cannot be read); names what the directory holds.
  void WriteFile(const std::string& name, const std::string& contents) const;
  static std::string ReadFile(const std::string& name);
  static std::set<std::string> FilesHere();

  // What the radio was told, one entry per packet, in the simulator's words
  // with the bytes left out: "tenths 5", "arx on", "mode SSB even -> 7050 kHz SSB".
  std::vector<std::string> Told() const;
  // The frequencies (with mode) the radio was tuned to: "7050 kHz SSB".
  std::vector<std::string> Tunings() const;

  // The lines of the follow mode's reports, and of the radio's, among what
  // went to stderr.
  static std::vector<std::string> FollowLines(const std::string& stderrText);
  static std::vector<std::string> RadioLines(const std::string& stderrText);

  FakePanelView view;
  TForm1 form{view, "/usr/local/bin/ravolin"};

private:
  std::filesystem::path oldDirectory_;
  std::filesystem::path directory_;
};
