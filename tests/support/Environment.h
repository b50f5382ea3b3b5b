#pragma once
// Setting and removing environment variables of the test process, so that a
// library it loads afterwards (the simulated radio) reads them.

#include <cstdlib>

namespace testsupport {

inline void SetEnv(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void UnsetEnv(const char* name) {
#if defined(_WIN32)
  _putenv_s(name, "");  // an empty value removes the variable
#else
  unsetenv(name);
#endif
}

}  // namespace testsupport
