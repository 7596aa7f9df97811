// A popup menu (the tray's, a character's) stays open and usable while the four walkers tick,
// also on the Windows path where every tick takes the mouse capture.
#include <gtest/gtest.h>

#include "app/mubo.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/tesk.h"
#include "framework/menus.h"
#include "support/test_support.h"

namespace {

TEST(WalkersAndMenus, TheMenuStaysOpenAndUsableWhileTheWalkersTick) {
  OverrideRunningUnderWine(false);        // the walkers take the capture on every tick
  ASSERT_TRUE(SetCursorPos(1200, 1000));  // far away from everyone: they keep walking
  CreateForm(Application, Form1);         // makes the other three; every timer ticks at 50 ms

  TPopupMenu menu(nullptr);
  auto* item = new TMenuItem(&menu);
  item->SetCaption("&Open");
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  menu.Add(item);

  // Watches the open menu for a second of walker ticks, then picks the item by its key.
  int ticksOpen = 0;
  POINT tesk{};
  bool teskMoved = false;
  bool menuKeptCapture = true;
  TTimer watcher(nullptr);
  watcher.SetInterval(50);
  watcher.SetOnTimer([&](TObject*) {
    HWND window = OpenMenuWindow();
    if (!window) return;
    // The menu keeps the mouse: no walker took it (which on Windows closes the menu).
    const HWND capture = GetCapture();
    menuKeptCapture = menuKeptCapture && capture && capture != Form1->Handle() &&
                      capture != Form2->Handle() && capture != Form3->Handle() &&
                      capture != Form4->Handle();
    if (++ticksOpen == 1) tesk = {Form2->Left(), Form2->Top()};
    if (ticksOpen == 20) {
      teskMoved = Form2->Left() != tesk.x || Form2->Top() != tesk.y;
      PostMessageW(window, WM_CHAR, L'o', 0);
    }
    if (ticksOpen > 400) EndMenu();  // never hang the test
  });
  menu.Popup(20, 20);
  watcher.SetEnabled(false);
  EXPECT_GE(ticksOpen, 20) << "the menu closed while the walkers ticked";
  EXPECT_TRUE(teskMoved) << "the walkers went on while the menu was open";
  EXPECT_TRUE(menuKeptCapture);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));

  delete Form1;
  Form1 = nullptr;
  Form2 = nullptr;
  Form3 = nullptr;
  Form4 = nullptr;
  OverrideRunningUnderWine(std::nullopt);
}

}  // namespace
