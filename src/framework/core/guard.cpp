#include "framework/core/guard.h"

#include <utility>

namespace {
TExceptionHandler& Installed() {
  static TExceptionHandler handler;
  return handler;
}
}  // namespace

TExceptionHandler SetCallbackExceptionHandler(TExceptionHandler handler) {
  return std::exchange(Installed(), std::move(handler));
}

void HandleCallbackException(std::exception_ptr error) noexcept {
  try {
    if (Installed()) Installed()(std::move(error));
  } catch (...) {
  }
}
