// The settings window on the monitors the test lays out: opened at a place off every monitor it
// opens on the nearest one; when a monitor goes away under it (WM_DISPLAYCHANGE) it comes back
// onto one; while it overlaps a monitor it stays where the user put it.
#include <gtest/gtest.h>

#include <memory>

#include "framework/monitors.h"
#include "settings/status_form.h"
#include "support/test_support.h"

namespace {

// The primary monitor with a task bar along its bottom, and a second one left of it.
const MonitorArea kPrimary{{0, 0, 1280, 1024}, {0, 0, 1280, 994}};
const MonitorArea kLeft{{-1024, 0, 0, 768}, {-1024, 0, 0, 768}};
std::vector<MonitorArea> layout;
std::vector<MonitorArea> TestMonitors() { return layout; }

class MonitorPlace : public testing::Test {
 protected:
  Replaced<decltype(ReadMonitors)> monitors_{ReadMonitors, TestMonitors};
  void SetUp() override {
    layout = {kPrimary, kLeft};
    CreateForm(Application, StatusForm1);
    form.reset(StatusForm1);
  }
  // Opens the window (modally, as a character's menu does), runs INSIDE while it is shown, and
  // closes it again without saving.
  void WhileOpen(const std::function<void()>& inside) {
    bool seen = false;
    Later step([&] {
      seen = true;
      inside();
      form->SetModalResult(mrCancel);
    });
    form->OpenForSlot(0);
    EXPECT_TRUE(seen);
  }
  POINT Place() const { return {form->Left(), form->Top()}; }
  // The place the system has for the window, which the form's own bounds must follow.
  POINT WindowPlace() const {
    RECT r;
    GetWindowRect(form->Handle(), &r);
    return {r.left, r.top};
  }
  std::unique_ptr<TStatusForm1> form;
};

bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TEST_F(MonitorPlace, OpenedAtAPlaceOffEveryMonitorItOpensOnTheNearest) {
  form->SetBounds(2000, 900, 350, 350);  // where a monitor right of the primary was
  WhileOpen([&] {
    EXPECT_TRUE(Place() == (POINT{930, 644}));  // above the task bar, at the right edge
    EXPECT_TRUE(WindowPlace() == Place());
  });
  form->SetBounds(-1500, -600, 350, 350);
  WhileOpen([&] { EXPECT_TRUE(Place() == (POINT{-1024, 0})); });
  // On the left monitor, even partly: it stays.
  form->SetBounds(-1200, 500, 350, 350);
  WhileOpen([&] { EXPECT_TRUE(Place() == (POINT{-1200, 500})); });
}

TEST_F(MonitorPlace, AMonitorRemovedUnderTheShownWindowBringsItOntoTheNearestOne) {
  form->SetBounds(-700, 200, 350, 350);
  WhileOpen([&] {
    // A resolution change that leaves it on its monitor moves nothing.
    SendMessageW(form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    EXPECT_TRUE(Place() == (POINT{-700, 200}));
    layout = {kPrimary};
    SendMessageW(form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    EXPECT_TRUE(Place() == (POINT{0, 200}));
    EXPECT_TRUE(WindowPlace() == Place());
  });
  // Hidden, it is left where it is until it is opened again.
  layout = {kLeft};
  SendMessageW(form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_TRUE(Place() == (POINT{0, 200}));
  WhileOpen([&] { EXPECT_TRUE(Place() == (POINT{-350, 200})); });
}
