#pragma once
// The session's exceptions and the table of socket error texts.

#include <string>

#include "base/Exception.h"

// Every failure of a socket session.
class ESockError : public Exception {
public:
  using Exception::Exception;
};

// A transfer ended by Cancel, Abort or the time-out.
class EAbortError : public ESockError {
public:
  using ESockError::ESockError;
};

// The text of a socket error number as the table has it ("Connection
// refused" for 10061), or nullptr when the number is not in the table.
const char* SocketErrorText(int number);

// The full message for a socket error: empty for 0, "10061:Connection
// refused" for a known number, "Unknown Error No. N" otherwise.
std::string FormatSocketError(int number);
