#include "base/Application.h"

#include <cstdio>
#include <stdexcept>

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

void HandleApplicationException(std::exception_ptr error) {
  if (!error) return;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    HandleApplicationException(caught);
  } catch (...) {
    HandleApplicationException(std::runtime_error("Unknown error in an event handler"));
  }
}
