// Replacing the follow file in one step, and leaving alone one that cannot
// be written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/Exception.h"
#include "panel/FileInPlace.h"

namespace {

namespace fs = std::filesystem;

class FileInPlace : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::path(::testing::TempDir()) / (std::string("ravolin_in_place_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

private:
  fs::path folder_;
};

TEST_F(FileInPlace, TheFinishedFileTakesThePlaceOfTheTargetOrOfNoTarget) {
  Write("freq.ini", "7050\n0\nSSB\n0\n");
  Write("freq.ini.part", "14200\n3\nAM\n1\n");
  PutInPlace(PathOf("freq.ini.part"), PathOf("freq.ini"));
  EXPECT_EQ(Read("freq.ini"), "14200\n3\nAM\n1\n");
  EXPECT_FALSE(fs::exists(PathOf("freq.ini.part")));

  Write("new.part", "3550\n");
  PutInPlace(PathOf("new.part"), PathOf("new.ini"));
  EXPECT_EQ(Read("new.ini"), "3550\n");
}

TEST_F(FileInPlace, ATargetThatIsADirectoryStaysAndTheFinishedFileIsKept) {
  fs::create_directory(PathOf("freq.ini"));
  Write("freq.ini/inside", "kept");
  Write("freq.ini.part", "14200\n");
  try {
    PutInPlace(PathOf("freq.ini.part"), PathOf("freq.ini"));
    ADD_FAILURE() << "a directory was replaced";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message().rfind("Cannot replace " + PathOf("freq.ini") + ": ", 0), 0u) << error.Message();
  }
  EXPECT_EQ(Read("freq.ini/inside"), "kept");
  EXPECT_EQ(Read("freq.ini.part"), "14200\n");
}

// A rename would replace a read-only file; it must stay. Root writes such a
// file anyway (the stress suite drops that power for this case).
TEST_F(FileInPlace, AReadOnlyTargetStays) {
  Write("freq.ini", "7050\n");
  Write("freq.ini.part", "14200\n");
  fs::permissions(PathOf("freq.ini"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (std::FILE* file = std::fopen(PathOf("freq.ini").c_str(), "r+b")) {
    std::fclose(file);
    fs::permissions(PathOf("freq.ini"), fs::perms::owner_write, fs::perm_options::add);
    GTEST_SKIP() << "this process may write read-only files";
  }
  EXPECT_THROW(PutInPlace(PathOf("freq.ini.part"), PathOf("freq.ini")), EFCreateError);
  EXPECT_EQ(Read("freq.ini"), "7050\n");
  fs::permissions(PathOf("freq.ini"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FileInPlace, DiscardRemovesAFileAndNothingElse) {
  Write("freq.ini.part", "142");
  DiscardFile(PathOf("freq.ini.part"));
  EXPECT_FALSE(fs::exists(PathOf("freq.ini.part")));
  DiscardFile(PathOf("freq.ini.part"));  // gone already: no error
  fs::create_directory(PathOf("folder.part"));
  DiscardFile(PathOf("folder.part"));
  EXPECT_TRUE(fs::is_directory(PathOf("folder.part")));
}

}  // namespace
