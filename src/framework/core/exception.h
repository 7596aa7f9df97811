#pragma once
// The framework's exception classes. Messages are UTF-8; the application shows them through the
// wide API in its standard error box.
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A picture that cannot be used as given.
class EInvalidGraphic : public Exception {
  using Exception::Exception;
};

// A value that cannot be converted.
class EConvertError : public Exception {
  using Exception::Exception;
};

// A settings file that cannot be written.
class EIniFileException : public Exception {
  using Exception::Exception;
};

// An index outside a list's range.
class EListError : public Exception {
  using Exception::Exception;
};

// A stored window description that does not fit the classes that read it.
class EReadError : public Exception {
  using Exception::Exception;
};

// A resource that the program does not carry.
class EResNotFound : public Exception {
  using Exception::Exception;
};

// An operation the object cannot carry out in its present state.
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
