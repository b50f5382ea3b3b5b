#pragma once
// The exception family every failure of the program travels in. Each carries
// a message text; callers catch the base class or a descendant they handle.

#include <exception>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

// A text that is not a valid integer, and similar conversion failures.
class EConvertError : public Exception {
  using Exception::Exception;
};

// A value outside the range its destination can hold (a 16-bit handle, a
// buffer length, a reply number).
class ERangeError : public Exception {
public:
  ERangeError() : Exception("Range check error") {}
  using Exception::Exception;
};

// Stream and file failures.
class EStreamError : public Exception {
  using Exception::Exception;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
