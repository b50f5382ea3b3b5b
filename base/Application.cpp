#include "base/Application.h"

#include <cstdio>

namespace {
ApplicationExceptionHandler& Handler() {
  static ApplicationExceptionHandler handler;
  return handler;
}
}  // namespace

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler) { Handler() = std::move(handler); }

void HandleApplicationException(const std::exception& error) {
  if (Handler()) {
    Handler()(error);
    return;
  }
  std::fprintf(stderr, "%s\n", error.what());
}
