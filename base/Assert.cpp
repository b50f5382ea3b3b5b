#include "base/Assert.h"

#include <cstdio>
#include <cstdlib>

void AssertionFailed(const char* condition, const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", file, line, what, condition);
  std::fflush(stderr);
  std::abort();
}
