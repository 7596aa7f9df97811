#include "framework/core/guard.h"
#include "framework/core/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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

TEST(ScopeExit, UndoesOnceWhenTheScopeEndsNormallyOrByAnException) {
  std::vector<std::string> undone;
  {
    ScopeExit outer([&] { undone.push_back("outer"); });
    ScopeExit inner([&] { undone.push_back("inner"); });
    EXPECT_TRUE(undone.empty());
  }
  EXPECT_EQ(undone, (std::vector<std::string>{"inner", "outer"}));
  undone.clear();
  int depth = 0;
  EXPECT_THROW(
      {
        ++depth;
        ScopeExit nesting([&] { --depth; undone.push_back("unwound"); });
        throw std::runtime_error("x");
      },
      std::runtime_error);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(undone, (std::vector<std::string>{"unwound"}));
}

}  // namespace
