#pragma once
// The application-wide handler for errors that escape an event handler (a
// click, a timer tick): it shows the error to the user and the program goes
// on. The window installs a handler that opens the error box; until then the
// message goes to stderr.

#include <exception>
#include <functional>

using ApplicationExceptionHandler = std::function<void(const std::exception& error)>;

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler);
void HandleApplicationException(const std::exception& error);
// The same for a caught exception of any type; one that is no std::exception
// arrives as "Unknown error in an event handler".
void HandleApplicationException(std::exception_ptr error);

// Runs f and hands whatever escapes it to the handler, so that no exception
// unwinds through the event loop or the system's dispatch code.
template <typename F>
void RunReportingErrors(F&& f) {
  try {
    f();
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
}
