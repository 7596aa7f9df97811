// Popup menus against the real platform: stored items, the open menu, the chosen item.
#include "framework/menus.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/extctrls.h"
#include "framework/reader.h"
#include "support/test_support.h"
#include "support/tray_forms.h"

namespace {

TEST(PopupMenu, StoredItemsInOrderWithTheirMenu) {
  TTrayTestForm* form = nullptr;
  CreateForm(Application, form);
  std::unique_ptr<TTrayTestForm> owner(form);
  TPopupMenu* menu = form->Menu();
  std::vector<std::string> names;
  for (TMenuItem* item : menu->Items()) {
    names.push_back(item->Name());
    EXPECT_EQ(item->Menu(), menu);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"S1", "N3", "N2", "N4", "N1"}));
  EXPECT_TRUE(menu->Items()[1]->IsLine());
  EXPECT_FALSE(menu->Items()[0]->IsLine());
  EXPECT_EQ(menu->Items()[4]->Caption(), "終了する(&X)");

  // An item freed leaves its menu; a menu freed leaves its items without one.
  TMenuItem* n2 = menu->Items()[2];
  delete n2;
  EXPECT_EQ(menu->Items().size(), 4u);
  TMenuItem* s1 = menu->Items()[0];
  delete menu;
  EXPECT_EQ(s1->Menu(), nullptr);
}

TEST(PopupMenu, AnItemStoredInsideSomethingElseThanAMenuIsRefused) {
  TForm form(Application);
  ObjectDescription description{"TForm", "Form", {}, {}};
  description.Children.push_back({"TTimer", "Timer", {}, {{"TMenuItem", "Item", {}, {}}}});
  EXPECT_THROW(ReadComponent(&form, description), EReadError);
}

TEST(PopupMenu, ShowsItsItemsAndRunsTheChosenOneFromTheMessageLoop) {
  TPopupMenu menu(nullptr);
  std::vector<std::string> log;
  menu.OnPopup = [&](TObject*) { log.push_back(OpenMenuWindow() ? "popup (open)" : "popup"); };
  for (const char* caption : {"&Open", "-", "A && B", "E&xit"}) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    item->SetName(caption);
    item->OnClick = [&](TObject* sender) {
      log.push_back("click " + static_cast<TMenuItem*>(sender)->Caption() +
                    (MenuOpen() ? " (menu open)" : ""));
    };
    menu.Add(item);
  }
  TComponent invoker(nullptr);
  std::vector<std::wstring> shown;
  HWND owner = nullptr;
  EXPECT_EQ(menu.WindowHandle(), nullptr) << "a menu that has not opened has no window";
  EXPECT_TRUE(OpenAndPick([&] { menu.Popup(100, 100, &invoker); }, L'x',
                          [&](HWND window) {
                            shown = MenuItemTexts(window);
                            EXPECT_TRUE(MenuOpen());
                            owner = GetForegroundWindow();
                          }));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"&Open", L"-", L"A && B", L"E&xit"}));
  EXPECT_EQ(owner, menu.WindowHandle()) << "the menu's window is in the foreground";
  EXPECT_EQ(menu.PopupComponent(), &invoker);
  EXPECT_EQ(log, std::vector<std::string>{"popup"}) << "the click waits for the message loop";
  ASSERT_TRUE(PumpUntil([&] { return log.size() == 2; }));
  EXPECT_EQ(log[1], "click E&xit");
  EXPECT_FALSE(MenuOpen());

  // Dismissed: nothing runs. The invoker freed: the reference is cleared.
  EXPECT_TRUE(OpenAndPick([&] { menu.Popup(100, 100, &invoker); }, 0));
  PumpUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(log.size(), 3u);
  {
    TComponent shortLived(nullptr);
    menu.SetPopupComponent(&shortLived);
  }
  EXPECT_EQ(menu.PopupComponent(), nullptr);
}

TEST(PopupMenu, AControlsPopupMenuOpensOnARightClick) {
  TTrayTestForm* form = nullptr;
  CreateForm(Application, form);
  std::unique_ptr<TTrayTestForm> owner(form);
  form->SetPopupMenu(form->Menu());
  form->Show();
  RECT r;
  GetWindowRect(form->Handle(), &r);
  const LPARAM at = MAKELPARAM(r.left + 20, r.top + 40);
  EXPECT_TRUE(OpenAndPick(
      [&] {
        SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), at);
      },
      L's'));
  EXPECT_EQ(form->Menu()->PopupComponent(), form);
  ASSERT_TRUE(PumpUntil([&] { return !form->Log.empty(); }));
  EXPECT_EQ(form->Log, std::vector<std::string>{"click S1"});
}

}  // namespace
