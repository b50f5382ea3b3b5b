// Proves that Windows programs of this build really run: under Wine without
// its 32-bit half, a 32-bit program exits 0 having printed nothing, so the
// test passes only when this line appears (see CMakeLists.txt).
#include <windows.h>

#include <cstdio>

int main() {
  std::printf("ravolin sentinel: %u-bit Windows program ran as process %lu\n",
              static_cast<unsigned>(sizeof(void*) * 8), static_cast<unsigned long>(GetCurrentProcessId()));
  return 0;
}
