// Loading a library by its bare name and reading the last system error.

#include <gtest/gtest.h>

#include <cerrno>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "platform/library.h"

TEST(Loader, LoadsTheLibraryFoundOnTheSearchPath) {
  platform::ModuleHandle module = platform::LoadModule("mpusbapi");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(platform::FindSymbol(module, "_MPUSBOpen"), nullptr);
  EXPECT_EQ(platform::FindSymbol(module, "_MPUSBNoSuchCall"), nullptr);
}

TEST(Loader, AMissingLibraryIsNotLoadedAndExportsNothing) {
  EXPECT_EQ(platform::LoadModule("ravolin_no_such_library"), nullptr);
  EXPECT_EQ(platform::LoadModule(""), nullptr);
  EXPECT_EQ(platform::FindSymbol(nullptr, "malloc"), nullptr);  // not the whole process
}

#if defined(_WIN32)
TEST(Loader, TheLastSystemErrorIsTheThreadsOwn) {
  for (std::uint32_t error : {6u, 121u, 1167u, 0u}) {
    SetLastError(error);
    EXPECT_EQ(platform::LastSystemError(), error);
  }
}
#else
// An unplugged device keeps its handle ("device not connected"); only a
// handle the library does not know is an invalid one.
TEST(Loader, UnpluggedDevicesReadAsNotConnectedAndBadHandlesAsInvalid) {
  errno = ENODEV;
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorDeviceNotConnected);
  for (int error : {ENXIO, EBADF}) {
    errno = error;
    EXPECT_EQ(platform::LastSystemError(), platform::kErrorInvalidHandle) << error;
  }
  platform::ClearLastSystemError();
  EXPECT_EQ(platform::LastSystemError(), 0u);
  for (int error : {ETIMEDOUT, EIO, EPIPE, 0}) {
    errno = error;
    EXPECT_EQ(platform::LastSystemError(), static_cast<std::uint32_t>(error));
  }
}
#endif
