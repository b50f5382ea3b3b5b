// Where the program works: the folder it is started in, except for an
// installed copy started in its own folder, which moves to the user's folder
// and finds it as a first start leaves it, without losing the operator's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/WorkingFolder.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

class WorkingFolder : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / "ravolin_working_folder";
    program_ = root_ / "Programs" / "Ravolin";
    user_ = root_ / "AppData" / "Ravolin";
    elsewhere_ = root_ / "station";
    fs::remove_all(root_);
    fs::create_directories(program_);
    fs::create_directories(elsewhere_);
    started_ = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(started_);
    fs::remove_all(root_);
  }

  fs::path root_;
  fs::path program_;
  fs::path user_;
  fs::path elsewhere_;
  fs::path started_;
};

TEST_F(WorkingFolder, OnlyAnInstalledCopyAtHomeMovesToTheUsersFolderWhichKeepsTheOperatorsFiles) {
  const fs::path exe = program_ / "ravolin.exe";
  Write(exe, "");

  // A copy of its own (no uninstaller), started beside itself: works there.
  fs::current_path(program_);
  EXPECT_TRUE(fs::equivalent(SettleWorkingFolder(exe, user_), program_));
  EXPECT_FALSE(fs::exists(user_));

  // Installed, but started in another folder: works there.
  Write(program_ / kUninstallerName, "");
  fs::current_path(elsewhere_);
  EXPECT_TRUE(fs::equivalent(SettleWorkingFolder(exe, user_), elsewhere_));
  EXPECT_FALSE(fs::exists(user_));

  // Installed and started at home: the user's folder, made as a first start.
  fs::current_path(program_);
  EXPECT_TRUE(fs::equivalent(SettleWorkingFolder(exe, user_), user_));
  EXPECT_TRUE(fs::equivalent(fs::current_path(), user_));
  EXPECT_EQ(Read(user_ / "host.ini"), "\n");
  EXPECT_EQ(Read(user_ / "freq.ini"), "7050\n0\nSSB\n0\n");
  EXPECT_FALSE(fs::exists(program_ / "host.ini"));

  // The operator's files survive the next start; a missing one is made again.
  Write(user_ / "host.ini", "http://192.0.2.1:8073/freq.ini\n");
  fs::remove(user_ / "freq.ini");
  fs::current_path(program_);
  SettleWorkingFolder(exe, user_);
  EXPECT_EQ(Read(user_ / "host.ini"), "http://192.0.2.1:8073/freq.ini\n");
  EXPECT_EQ(Read(user_ / "freq.ini"), "7050\n0\nSSB\n0\n");

  // A user folder that can't be made (a file stands in its way): stays put.
  Write(root_ / "blocked", "");
  fs::current_path(program_);
  EXPECT_TRUE(fs::equivalent(SettleWorkingFolder(exe, root_ / "blocked" / "Ravolin"), program_));
  EXPECT_TRUE(fs::equivalent(fs::current_path(), program_));
}

}  // namespace
