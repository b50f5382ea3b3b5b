#pragma once
// RAVOLIN_ASSERT(condition, what): an invariant the code relies on but does
// not handle, such as "only on the user-interface thread" or "the window
// still exists". Checked in debug builds and in the sanitizer build
// (RAVOLIN_CHECKS); compiled out otherwise. A broken invariant prints the
// condition, what it means and where, then aborts.

#if defined(RAVOLIN_CHECKS) || !defined(NDEBUG)
#define RAVOLIN_ASSERT(condition, what) \
  ((condition) ? static_cast<void>(0) : AssertionFailed(#condition, what, __FILE__, __LINE__))
#else
#define RAVOLIN_ASSERT(condition, what) static_cast<void>(0)
#endif

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void AssertionFailed(const char* condition, const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", file, line, what, condition);
  std::fflush(stderr);
  std::abort();
}
