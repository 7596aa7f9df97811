#include "framework/core/guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Installs a handler for one test and puts the previous one back.
class InstalledHandler {
 public:
  explicit InstalledHandler(TExceptionHandler handler)
      : previous_(SetCallbackExceptionHandler(std::move(handler))) {}
  ~InstalledHandler() { SetCallbackExceptionHandler(std::move(previous_)); }

 private:
  TExceptionHandler previous_;
};

std::string MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "?";
  }
}

TEST(CallbackGuard, AnExceptionGoesToTheHandlerAndTheFallbackIsReturned) {
  std::vector<std::string> seen;
  InstalledHandler handler([&](std::exception_ptr e) { seen.push_back(MessageOf(e)); });
  EXPECT_EQ(Guarded(7, [] { return 3; }), 3);
  EXPECT_EQ(Guarded(7, []() -> int { throw std::runtime_error("boom"); }), 7);
  Guarded([] { throw 42; });  // not a std::exception: still stopped and handed on
  EXPECT_EQ(seen, (std::vector<std::string>{"boom", "?"}));
}

TEST(CallbackGuard, NothingEscapesAThrowingHandlerOrAMissingOne) {
  {
    InstalledHandler handler([](std::exception_ptr) { throw std::logic_error("handler failed"); });
    EXPECT_EQ(Guarded(1, []() -> int { throw std::runtime_error("x"); }), 1);
  }
  InstalledHandler none(nullptr);
  EXPECT_EQ(Guarded(2, []() -> int { throw std::runtime_error("x"); }), 2);
}

}  // namespace
