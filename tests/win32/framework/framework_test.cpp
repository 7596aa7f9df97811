// The framework against real windows: stored descriptions, forms, graphic controls and the
// handling of exceptions raised in event handlers.
#include <gtest/gtest.h>

#include <memory>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "support/test_classes.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<TTestForm> NewTestForm() {
  TTestForm* form = nullptr;
  CreateForm(Application, form);
  return std::unique_ptr<TTestForm>(form);
}

TEST(StoredDescription,
     PropertiesInOrderEventsAfterPlainValuesReferencesAndLoadedAfterTheWholeWindow) {
  auto form = NewTestForm();
  auto* first = dynamic_cast<TRecorder*>(form->FindComponent("First"));
  auto* second = dynamic_cast<TRecorder*>(form->FindComponent("Second"));
  ASSERT_TRUE(first && second);

  // The event stands first in the description but is attached after the plain values; the
  // reference to a component stored later is resolved once the whole window is read.
  EXPECT_EQ(first->Log, (std::vector<std::string>{"Number=1", "Text=first", "Flag=0", "OnFire",
                                                  "Buddy=Second", "Loaded"}));
  EXPECT_EQ(second->Log, (std::vector<std::string>{"Kind=kB", "Number=2", "Loaded"}));
  EXPECT_EQ(first->Buddy, second);
  EXPECT_TRUE(first->LoadingDuringProperties);
  EXPECT_FALSE(first->Loading());
  EXPECT_EQ(first->OwnerComponentsAtLoaded, 3u);  // every component existed when Loaded ran
  EXPECT_TRUE(first->BuddyKnownAtLoaded);

  // Components keep the stored order, and events reach the window's handlers by name.
  ASSERT_EQ(form->Components().size(), 3u);
  EXPECT_EQ(form->Components()[0], first);
  EXPECT_EQ(form->Components()[2]->Name(), "BoomTimer");
  first->OnFire(first);
  EXPECT_EQ(form->Fired, 1);
}

TEST(StoredDescription, FormValuesReachTheWindow) {
  auto form = NewTestForm();
  HWND h = form->Handle();
  wchar_t caption[64];
  GetWindowTextW(h, caption, 64);
  EXPECT_STREQ(caption, L"テスト窓");
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right - r.left, 240);
  EXPECT_EQ(r.bottom - r.top, 160);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU);
  // Owned by the application's window: no task-bar button of its own.
  EXPECT_EQ(GetWindow(h, GW_OWNER), Application->Handle());
  EXPECT_FALSE(IsWindowVisible(h));
  form->Show();
  EXPECT_TRUE(IsWindowVisible(h));
  form->Close();  // not the main form: it only hides
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_FALSE(Application->Terminated());
}

TEST(Forms, StayOnTopFormsAreTopmostAndShowRaisesOnlyAFormBehindAnother) {
  auto first = NewTestForm();
  auto second = NewTestForm();
  first->Show();
  second->Show();
  // A plain window made after them stays behind both: they are in the topmost band.
  WindowHandle plain(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                     nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(plain);
  EXPECT_TRUE(InFrontOf(first->Handle(), plain.Get()));
  EXPECT_TRUE(InFrontOf(second->Handle(), plain.Get()));
  EXPECT_TRUE(InFrontOf(second->Handle(), first->Handle()));

  first->Show();  // shown already, but behind the second: it comes to the front
  EXPECT_TRUE(InFrontOf(first->Handle(), second->Handle()));

  // In front of every window, a form shown again is left where it is: not even placed.
  ASSERT_EQ(GetWindow(first->Handle(), GW_HWNDPREV), nullptr);
  PlacementCount count(first->Handle());
  first->Show();
  EXPECT_EQ(count.Count, 0);
  EXPECT_TRUE(IsWindowVisible(first->Handle()));
}

// A form with two panels, an edit field on the second, each a window of its own when made.
struct PanelForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TPanel* First = new TPanel(Form.get());
  TPanel* Second = new TPanel(Form.get());
  TEdit* Inner = new TEdit(Form.get());
  PanelForm() {
    First->SetParent(Form.get());
    Second->SetParent(Form.get());
    Inner->SetParent(Second);
  }
  bool ChildWindows() const {
    return First->HandleAllocated() && Second->HandleAllocated() && Inner->HandleAllocated();
  }
  // The panels in the order their windows lie, as their numbers.
  std::string Order() const {
    std::string order;
    for (HWND w = GetWindow(Form->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      order += w == First->Handle() ? "1" : w == Second->Handle() ? "2" : "?";
    return order;
  }
};

// A hidden form has no child windows until it first shows, or one of them is needed: then all of
// them, lying in the same order as when they are made with a form shown at once.
TEST(Forms, AHiddenFormMakesItsChildWindowsWhenItFirstShowsOrOneIsNeeded) {
  PanelForm shown;
  shown.Form->SetVisible(true);
  EXPECT_TRUE(shown.ChildWindows());
  const std::string order = shown.Order();
  EXPECT_EQ(order.size(), 2u);

  PanelForm needed;
  needed.Form->Handle();
  EXPECT_FALSE(needed.First->HandleAllocated() || needed.Second->HandleAllocated() ||
               needed.Inner->HandleAllocated());
  needed.Inner->Handle();
  EXPECT_TRUE(needed.ChildWindows());
  EXPECT_EQ(needed.Order(), order);
  EXPECT_EQ(GetParent(needed.Inner->Handle()), needed.Second->Handle());

  PanelForm byThePlatform;
  ShowWindow(byThePlatform.Form->Handle(), SW_SHOWNOACTIVATE);
  EXPECT_TRUE(byThePlatform.ChildWindows());
  EXPECT_EQ(byThePlatform.Order(), order);

  // Made again after its window went, a hidden form waits again.
  needed.Form->Hide();
  DestroyWindow(needed.Form->Handle());
  EXPECT_FALSE(needed.Form->HandleAllocated() || needed.First->HandleAllocated());
  needed.Form->Handle();
  EXPECT_FALSE(needed.First->HandleAllocated());
  needed.Form->Show();
  EXPECT_TRUE(needed.ChildWindows());
  EXPECT_EQ(needed.Order(), order);
}

// The task-bar button (the application window) shows with the main form that Run shows, and not
// at all for a program that turns ShowMainForm off before the loop, as its tray icon does.
TEST(Application, ItsWindowStaysHiddenUntilRunShowsTheMainForm) {
  TApplication* const testApplication = Application;
  for (const bool showMainForm : {true, false}) {
    SCOPED_TRACE(showMainForm ? "main form shown" : "main form not shown");
    {
      TApplication application;
      EXPECT_FALSE(IsWindowVisible(application.Handle()));
      TTestForm* main = nullptr;
      application.CreateForm(main);
      application.ShowMainForm = showMainForm;
      EXPECT_FALSE(IsWindowVisible(application.Handle()));
      EXPECT_NE(GetForegroundWindow(), application.Handle());
      bool shownInLoop = false;
      TTimer ender(nullptr);
      ender.SetInterval(10);
      ender.SetOnTimer([&](TObject*) {
        shownInLoop = IsWindowVisible(application.Handle()) && IsWindowVisible(main->Handle());
        main->Close();
      });
      ender.SetEnabled(true);
      application.Run();
      EXPECT_EQ(shownInLoop, showMainForm);
    }
    Application = testApplication;
  }
}

TEST(Exceptions, AnExceptionInAHandlerIsShownInAMessageBoxAndTheLoopGoesOn) {
  auto form = NewTestForm();
  auto* boom = dynamic_cast<TTimer*>(form->FindComponent("BoomTimer"));
  ASSERT_TRUE(boom);

  // While the message box runs its own loop, this timer reads the box and presses OK.
  std::wstring boxText, boxCaption;
  TTimer watcher(nullptr);
  watcher.SetInterval(20);
  watcher.SetOnTimer([&](TObject*) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || !boxText.empty()) return;
    wchar_t buffer[256];
    GetWindowTextW(box, buffer, 256);
    boxCaption = buffer;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      GetClassNameW(c, buffer, 256);
      if (std::wstring(buffer) == L"Static" && GetWindowTextW(c, buffer, 256) > 0) boxText = buffer;
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });

  boom->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return form->Booms >= 3; }));
  EXPECT_EQ(boxCaption, L"Launcher Tivolu! ～Morvane～");
  EXPECT_EQ(boxText, L"テストの例外です");
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
}

TEST(Exceptions, ForeignExceptionsAreShownWithTheirMessage) {
  auto form = NewTestForm();
  ExceptionCatcher caught;
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.SetOnTimer(std::get<TNotifyEvent>(form->FindEvent("Other")));
  ASSERT_TRUE(PumpUntil([&] { return caught.Messages.size() >= 2; }));
  EXPECT_EQ(caught.Messages[0], "not a framework error");
}

// Two overlapping graphic controls on one window, and a record of their clicks.
class Box : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  int Presses = 0, Clicks = 0;
  void MouseDown(TMouseButton, TShiftState, int, int) override { ++Presses; }
  void Click() override { ++Clicks; }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(GraphicControls, MouseGoesToTheTopmostControlAndAClickNeedsPressAndReleaseInside) {
  auto form = NewTestForm();
  Box* lower = new Box(form.get());
  Box* upper = new Box(form.get());
  lower->SetParent(form.get());
  upper->SetParent(form.get());
  lower->SetBounds(0, 0, 50, 50);
  upper->SetBounds(25, 25, 50, 50);
  HWND h = form->Handle();

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  SendMessageW(h, WM_LBUTTONUP, 0, At(30, 30));
  EXPECT_EQ(upper->Clicks, 1);
  EXPECT_EQ(lower->Presses, 0);

  lower->BringToFront();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  // Something else takes and releases the capture between press and release (the walkers do
  // this on every tick): the click still counts.
  SetCapture(h);
  ReleaseCapture();
  SendMessageW(h, WM_LBUTTONUP, 0, At(40, 40));
  EXPECT_EQ(lower->Clicks, 1);

  // Released outside the control that was pressed: no click.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(h, WM_LBUTTONUP, 0, At(70, 70));
  EXPECT_EQ(lower->Clicks, 1);
  EXPECT_EQ(upper->Clicks, 1);

  // A hidden control takes no input.
  lower->SetVisible(false);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  SendMessageW(h, WM_LBUTTONUP, 0, At(30, 30));
  EXPECT_EQ(upper->Clicks, 2);
}

TEST(Components, OwnersDestroyWhatTheyOwnAndReferencesAreClearedOnDestruction) {
  auto form = NewTestForm();
  auto* menu = new TTestPopupMenu(form.get());
  Box* box = new Box(form.get());
  box->SetParent(form.get());
  EXPECT_THROW(box->SetPopupMenu(new TRecorder(form.get())), EReadError);  // not a menu
  box->SetPopupMenu(menu);
  EXPECT_EQ(box->PopupMenu(), menu);
  delete menu;
  EXPECT_EQ(box->PopupMenu(), nullptr);
  EXPECT_EQ(form->FindComponent(""), nullptr);
  size_t before = form->Components().size();
  delete box;
  EXPECT_EQ(form->Components().size(), before - 1);
  EXPECT_TRUE(form->Controls().empty());
}

}  // namespace
