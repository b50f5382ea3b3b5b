#include "tests/panel/PanelFixture.h"

#include <unistd.h>
#include <fstream>
#include <iterator>
#include <sstream>

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

std::string PanelTest::ReadFile(const std::string& name) {
  std::error_code ignored;
  if (std::filesystem::is_directory(name, ignored)) return {};
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> PanelTest::FilesHere() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) names.insert(entry.path().filename().string());
  return names;
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

namespace {

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<std::string> PanelTest::FollowLines(const std::string& stderrText) {
  return LinesStartingWith(stderrText, "ravolin: following ");
}

std::vector<std::string> PanelTest::RadioLines(const std::string& stderrText) {
  return LinesStartingWith(stderrText, "ravolin: radio: ");
}
