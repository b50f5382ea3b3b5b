#include "tests/panel/PanelFixture.h"

#include <fstream>
#include <unistd.h>

#include "radio/RadioLink.h"

void PanelTest::SetUp() {
  oldDirectory_ = std::filesystem::current_path();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::path(::testing::TempDir()) /
               ("ravolin_panel_" + std::to_string(getpid()) + "_" + info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(directory_);
  std::filesystem::create_directories(directory_);
  std::filesystem::current_path(directory_);
  SimRadioTest::SetUp();
}

void PanelTest::TearDown() {
  SimRadioTest::TearDown();
  std::filesystem::current_path(oldDirectory_);
  std::filesystem::remove_all(directory_);
}

void PanelTest::StartPanel() {
  ResetRadioLinkForTesting();
  form.FormCreate(nullptr);
}

void PanelTest::WriteFile(const std::string& name, const std::string& contents) const {
  std::ofstream(name, std::ios::binary) << contents;
}

std::vector<std::string> PanelTest::Told() const {
  std::vector<std::string> told;
  for (const std::string& line : LogLines("TX ")) {
    const std::string bytes = PacketBytesOf(line);
    told.push_back(line.substr(3 + bytes.size() + 1));
  }
  return told;
}

std::vector<std::string> PanelTest::Tunings() const {
  std::vector<std::string> tunings;
  for (const std::string& meaning : Told()) {
    const auto arrow = meaning.find("-> ");
    if (arrow != std::string::npos) tunings.push_back(meaning.substr(arrow + 3));
  }
  return tunings;
}
