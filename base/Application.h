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
