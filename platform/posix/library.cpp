// The loader on POSIX: a bare module name becomes lib<name>.so and is found
// by the dynamic loader's own search (LD_LIBRARY_PATH, then the run path of
// the program, the loader cache and the system directories). No directory
// of our own is put in front, so the user's LD_LIBRARY_PATH picks the
// library.

#include "platform/library.h"

#include <dlfcn.h>
#include <link.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace platform {

ModuleHandle LoadModule(const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  const std::string file = std::string("lib") + name + ".so";
  // Bind every symbol now, so a library with unresolved references fails
  // here instead of in the middle of a call.
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindSymbol(ModuleHandle module, const char* name) {
  // dlsym(nullptr, ...) would search the whole process; a module that did
  // not load exports nothing.
  if (module == nullptr || name == nullptr) return nullptr;
  return dlsym(module, name);
}

std::string LastLoadFailure() {
  const char* text = dlerror();
  return text != nullptr ? text : "";
}

std::string ModulePath(ModuleHandle module) {
  if (module == nullptr) return "";
  link_map* map = nullptr;
  if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr) return "";
  // The loader keeps the name as it found it, "/usr/bin/../lib/..." through
  // a relative run path; the resolved file reads better.
  char resolved[PATH_MAX];
  return realpath(map->l_name, resolved) != nullptr ? resolved : map->l_name;
}

std::uint32_t LastSystemError() {
  const int error = errno;
  const std::uint32_t device = DeviceErrorCode(error);
  return device != 0 ? device : static_cast<std::uint32_t>(error);
}

void ClearLastSystemError() { errno = 0; }

}  // namespace platform
