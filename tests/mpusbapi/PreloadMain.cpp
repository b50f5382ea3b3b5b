// The test programs that use fake USB devices start themselves again under
// umockdev's preload library, so that ctest and a hand-run alike get it.
// Under AddressSanitizer its runtime must stay first among the preloaded
// libraries, so it is put in front. The programs end with _exit: libusb's
// and umockdev's threads must not meet static destructors.

#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr const char* kPreload = "libumockdev-preload.so.0";

int NoteSanitizerRuntime(dl_phdr_info* info, std::size_t, void* data) {
  const char* name = info->dlpi_name;
  if (name != nullptr && std::strstr(name, "libasan.so") != nullptr) *static_cast<std::string*>(data) = name;
  return 0;
}

void RestartUnderPreload(char** argv) {
  const char* current = std::getenv("LD_PRELOAD");
  if (current != nullptr && std::strstr(current, "libumockdev-preload") != nullptr) return;
  std::string sanitizer;
  dl_iterate_phdr(NoteSanitizerRuntime, &sanitizer);
  std::string preload = sanitizer.empty() ? kPreload : sanitizer + ":" + kPreload;
  if (current != nullptr && *current != '\0') preload += std::string(":") + current;
  setenv("LD_PRELOAD", preload.c_str(), 1);
  execv("/proc/self/exe", argv);
  std::perror("restarting under umockdev's preload library");
  _exit(127);
}

}  // namespace

int main(int argc, char** argv) {
  RestartUnderPreload(argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  __lsan_do_leak_check();
#endif
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(result);
}
