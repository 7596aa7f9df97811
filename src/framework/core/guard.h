#pragma once
// The one guard of every callback the program gives Windows (window, timer and hook procedures).
// An exception must never unwind through Windows' own frames (the i686 toolchain cannot), so it
// stops here and goes to the installed handler; the application installs the one that shows it.
#include <exception>
#include <functional>

using TExceptionHandler = std::function<void(std::exception_ptr)>;

// Installs HANDLER (an empty one: none) and returns the one it replaces.
TExceptionHandler SetCallbackExceptionHandler(TExceptionHandler handler);

// Hands ERROR to the installed handler. Nothing escapes, not even from the handler; with no
// handler installed the error is dropped.
void HandleCallbackException(std::exception_ptr error) noexcept;

// Runs BODY and returns its result; on an exception, hands it on and returns FALLBACK.
template <class Result, class Body>
Result Guarded(Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    HandleCallbackException(std::current_exception());
    return fallback;
  }
}

template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    HandleCallbackException(std::current_exception());
  }
}
