// Loading a library by its bare name and finding its C exports, as the radio
// link loads the USB library.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/library.h"

namespace {

TEST(Win32Library, ABareNameLoadsTheLibraryBesideTheProgram) {
  platform::ModuleHandle module = platform::LoadModule("probe_module");
  ASSERT_NE(module, nullptr) << platform::LastSystemError();
  // The export keeps its C name on both architectures (no stdcall decoration).
  using Version = std::uint32_t (*)();
  auto version = reinterpret_cast<Version>(platform::FindSymbol(module, "_MPUSBGetDLLVersion"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version(), 0x01020304u);
  EXPECT_EQ(platform::FindSymbol(module, "_MPUSBNoSuchCall"), nullptr);
}

TEST(Win32Library, AMissingLibraryIsNoModuleWithTheSystemsReason) {
  EXPECT_EQ(platform::LoadModule("no_such_library_anywhere"), nullptr);
  EXPECT_EQ(platform::LastSystemError(), 126u);  // module not found
  EXPECT_EQ(platform::FindSymbol(nullptr, "_MPUSBOpen"), nullptr);
}

TEST(Win32Clock, TheTimeOfDayFollowsTheLocaleFormat) {
  platform::LoadTimeFormat();
  std::string text = platform::LocalTimeText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find_first_of("0123456789"), std::string::npos);
  EXPECT_LT(text.size(), 20u);
}

}  // namespace
