// Timers of one interval share one platform timer: they tick together, in the order they were
// started, each handler on its own.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/extctrls.h"
#include "support/test_support.h"

namespace {

// A message posted by one handler and still waiting in the queue when the next handler runs
// shows that no message was dispatched between the two.
class QueueProbe {
 public:
  QueueProbe() {
    static const wchar_t* kClass = L"TimerTestProbe";
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~QueueProbe() { DestroyWindow(window_); }
  void Post() {
    pending_ = true;
    PostMessageW(window_, WM_APP, 0, reinterpret_cast<LPARAM>(this));
  }
  bool Pending() const { return pending_; }

 private:
  static LRESULT CALLBACK Procedure(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) reinterpret_cast<QueueProbe*>(l)->pending_ = false;
    return DefWindowProcW(h, m, w, l);
  }
  HWND window_;
  bool pending_ = false;
};

TTimer* Started(TTimer& timer, unsigned interval, TNotifyEvent handler) {
  timer.SetInterval(interval);
  timer.SetOnTimer(std::move(handler));
  return &timer;
}

TEST(Timers, TimersOfOneIntervalTickInOneGoInTheOrderTheyStarted) {
  QueueProbe probe;
  std::vector<std::string> log;
  int together = 0;
  TTimer a(nullptr), b(nullptr), other(nullptr);
  Started(b, 40, [&](TObject*) {
    log.push_back("b");
    probe.Post();
  });
  PumpUntil([] { return false; }, std::chrono::milliseconds(15));  // b runs a while alone
  Started(a, 40, [&](TObject*) {
    log.push_back("a");
    if (probe.Pending()) ++together;
  });
  Started(other, 25, [&](TObject*) { log.push_back("other"); });
  ASSERT_TRUE(PumpUntil([&] { return together >= 5; }, std::chrono::seconds(5)));
  // From a's first tick on, every a follows a b of the same period, with nothing in between.
  std::vector<std::string> pairs;
  for (size_t i = 0; i < log.size(); ++i)
    if (log[i] == "a") pairs.push_back(i > 0 ? log[i - 1] : "");
  EXPECT_EQ(pairs, std::vector<std::string>(pairs.size(), "b"));
  EXPECT_EQ(together, static_cast<int>(pairs.size()));
  EXPECT_NE(std::find(log.begin(), log.end(), "other"), log.end());
}

TEST(Timers, AHandlerMayStopOrFreeTheOthersAndOneThatRaisesStopsNone) {
  ExceptionCatcher caught;
  int ticksOfB = 0, ticksOfC = 0, ticksOfD = 0;
  TTimer a(nullptr), c(nullptr), d(nullptr);
  auto b = std::make_unique<TTimer>(nullptr);
  bool stopB = false;
  Started(a, 30, [&](TObject*) {
    if (stopB) b.reset();
    c.SetEnabled(false);
    throw std::runtime_error("a fails on every tick");
  });
  Started(*b, 30, [&](TObject*) { ++ticksOfB; });
  Started(c, 30, [&](TObject*) { ++ticksOfC; });
  Started(d, 30, [&](TObject*) { ++ticksOfD; });
  ASSERT_TRUE(PumpUntil([&] { return ticksOfD >= 3; }, std::chrono::seconds(5)));
  EXPECT_EQ(ticksOfC, 0);  // stopped by a before its turn, in every period
  EXPECT_GE(ticksOfB, 3);  // a's failure keeps nobody from ticking
  EXPECT_GE(caught.Messages.size(), 3u);
  stopB = true;  // freed by a in the middle of the next period: it does not tick
  int before = ticksOfB;
  ASSERT_TRUE(PumpUntil([&] { return ticksOfD >= 6; }, std::chrono::seconds(5)));
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(ticksOfB, before);
}

}  // namespace
