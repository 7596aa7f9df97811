// The window core against real windows: subclassing and attaching with chaining, hooks joining
// and leaving, the message routing to the named handlers, double clicks, the one error box, and
// the handle owners and guards.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "region/region.h"
#include "support/shell_support.h"
#include "support/test_classes.h"
#include "support/test_support.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;
std::vector<std::string> journal;

// A class the framework does not know, with its own procedure: the "native" class under test.
LRESULT CALLBACK NativeProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == kProbe) {
    journal.push_back("native");
    return 100;
  }
  return DefWindowProcW(h, msg, w, l);
}

HWND NewNativeWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = NativeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestNative";
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowExW(0, L"TestNative", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

LONG_PTR ProcedureOf(HWND h) { return GetWindowLongPtrW(h, GWLP_WNDPROC); }
const LONG_PTR kNative = reinterpret_cast<LONG_PTR>(&NativeProc);

class Control : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Dispatch(TMessage& m) override {
    if (m.Msg == kProbe) journal.push_back("control");
    TWinControl::Dispatch(m);
  }
};

class Hook : public TWindowHook {
 public:
  explicit Hook(std::string name) : name_(std::move(name)) {}
  void HookMessage(TMessage& m) override {
    if (m.Msg == kProbe) journal.push_back(name_);
    PassOn(m);
  }

 private:
  std::string name_;
};

LRESULT Probe(HWND h) {
  journal.clear();
  return SendMessageW(h, kProbe, 0, 0);
}

TEST(Subclassing, AttachedControlAndHooksChainToTheWindowsOwnProcedureAndLeaveInAnyOrder) {
  WindowHandle window(NewNativeWindow());
  ASSERT_TRUE(window);
  for (bool controlFirst : {true, false}) {
    SCOPED_TRACE(controlFirst ? "control leaves first" : "hooks leave first");
    auto control = std::make_unique<Control>(nullptr);
    control->Attach(window.Get());
    Hook older("older"), newer("newer");
    older.Join(window.Get());
    newer.Join(window.Get());
    EXPECT_NE(ProcedureOf(window.Get()), kNative);
    // The newest hook first, the control, and the window's own procedure last with its result.
    EXPECT_EQ(Probe(window.Get()), 100);
    EXPECT_EQ(journal, (std::vector<std::string>{"newer", "older", "control", "native"}));

    if (controlFirst) {
      EXPECT_EQ(control->Detach(), window.Get());
      Probe(window.Get());
      EXPECT_EQ(journal, (std::vector<std::string>{"newer", "older", "native"}));
      newer.Leave();
      older.Leave();
    } else {
      older.Leave();
      Probe(window.Get());
      EXPECT_EQ(journal, (std::vector<std::string>{"newer", "control", "native"}));
      newer.Leave();
      control.reset();  // an attached window is not destroyed with its control
      EXPECT_TRUE(IsWindow(window.Get()));
    }
    // Nobody of the program takes part any more: the window has its own procedure back.
    EXPECT_EQ(ProcedureOf(window.Get()), kNative);
    EXPECT_EQ(Probe(window.Get()), 100);
    EXPECT_EQ(journal, (std::vector<std::string>{"native"}));
  }
}

WNDPROC foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == kProbe) journal.push_back("foreign");
  return CallWindowProcW(foreignPrevious, h, msg, w, l);
}

TEST(Subclassing, SomeoneElsesSubclassOnTopKeepsWorkingWhenWeLeave) {
  WindowHandle window(NewNativeWindow());
  auto hook = std::make_unique<Hook>("hook");
  hook->Join(window.Get());
  foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  Probe(window.Get());
  EXPECT_EQ(journal, (std::vector<std::string>{"foreign", "hook", "native"}));
  hook.reset();
  // Ours cannot be taken out from under theirs: it stays, passing every message through.
  EXPECT_EQ(ProcedureOf(window.Get()), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_EQ(Probe(window.Get()), 100);
  EXPECT_EQ(journal, (std::vector<std::string>{"foreign", "native"}));
}

// A component that joins its owner form's message handling, as the tray icon will.
class HookComponent : public TComponent, public TWindowHook {
 public:
  HookComponent(TForm* owner) : TComponent(owner) { Join(owner->Handle()); }
  int Closes = 0;
  void HookMessage(TMessage& m) override {
    if (m.Msg == WM_CLOSE) ++Closes;
    PassOn(m);
  }
};

TEST(Hooks, AComponentsHookLeavesWhenTheComponentOrTheWindowGoesFirst) {
  auto form = std::make_unique<TForm>(nullptr);
  form->Show();
  auto* hook = new HookComponent(form.get());
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(hook->Closes, 1);
  EXPECT_FALSE(form->Visible());  // passed on: the form's own WM_CLOSE handling ran
  delete hook;                    // the component goes first: the window keeps working
  form->Show();
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->Visible());

  // The window goes first: the hook is told, and leaves nothing to free later.
  Hook standalone("standalone");
  standalone.Join(form->Handle());
  HWND h = form->Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(standalone.Window(), nullptr);
}

// A form with a graphic child that records the events it gets.
class Box : public TGraphicControl {
 public:
  explicit Box(TComponent* owner, bool doubleClicks = false) : TGraphicControl(owner) {
    if (doubleClicks) controlStyle_ |= csDoubleClicks;
  }
  std::vector<std::string> Events;
  void Click() override { Events.push_back("click"); }
  void DblClick() override { Events.push_back("dblclick"); }
  void MouseDown(TMouseButton, TShiftState shift, int x, int y) override {
    Events.push_back(std::string(shift & ssDouble ? "down2 " : "down ") + std::to_string(x) + "," +
                     std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int, int) override { Events.push_back("up"); }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void DoubleClick(HWND h, int x, int y) {
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  SendMessageW(h, WM_LBUTTONUP, 0, At(x, y));
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(x, y));
  SendMessageW(h, WM_LBUTTONUP, 0, At(x, y));
}

TEST(DoubleClicks, ControlsThatTakeThemGetOneClickAndOneDoubleClickTheOthersTwoClicks) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* plain = new Box(&form);
  auto* twice = new Box(&form, true);
  plain->SetParent(&form);
  twice->SetParent(&form);
  plain->SetBounds(0, 0, 50, 50);
  twice->SetBounds(100, 0, 50, 50);
  HWND h = form.Handle();
  EXPECT_TRUE(GetClassLongPtrW(h, GCL_STYLE) & CS_DBLCLKS);  // the window hears them at all

  DoubleClick(h, 10, 10);
  EXPECT_EQ(plain->Events,
            (std::vector<std::string>{"down 10,10", "click", "up", "down 10,10", "click", "up"}));
  DoubleClick(h, 110, 20);
  EXPECT_EQ(twice->Events, (std::vector<std::string>{"down 10,20", "click", "up", "dblclick",
                                                     "down2 10,20", "up"}));

  // The frames of the characters take double clicks (a file opens once); the region button
  // and plain controls keep two clicks.
  TRgn frame(nullptr);
  TRgnBtn button(nullptr);
  EXPECT_TRUE(frame.ControlStyle() & csDoubleClicks);
  EXPECT_FALSE(button.ControlStyle() & csDoubleClicks);
  EXPECT_FALSE(plain->ControlStyle() & csDoubleClicks);
  EXPECT_TRUE(form.ControlStyle() & csDoubleClicks);
}

// A native edit field wrapped by a control, which answers its colours for its parent.
class Edit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  BrushHandle Brush{CreateSolidBrush(RGB(255, 255, 202))};
  int Changes = 0;
  void CreateParamsFor(CreateParams& params) override {
    TWinControl::CreateParamsFor(params);
    params.WinClassName = L"EDIT";
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_CTLCOLOREDIT) {
      m.Result = reinterpret_cast<LRESULT>(Brush.Get());
    } else if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
      ++Changes;
    } else {
      TWinControl::Dispatch(m);
    }
  }
};

// A form that takes dropped files through its own Dispatch.
class DropForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<std::wstring> Dropped;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_DROPFILES) return WMDropFiles(m);
    TForm::Dispatch(m);
  }
  void WMDropFiles(TMessage& m) override {
    DropHandle drop(reinterpret_cast<HDROP>(m.WParam));
    Dropped = DroppedFiles(drop.Get());
  }
};

TEST(Routing, EachMessageReachesItsNamedHandler) {
  DropForm form(nullptr);
  form.SetBounds(50, 50, 200, 100);
  auto* menu = new TTestPopupMenu(&form, 7);
  auto* boxMenu = new TTestPopupMenu(&form);
  auto* box = new Box(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 20, 20);
  box->SetPopupMenu(boxMenu);
  form.SetPopupMenu(menu);
  HWND h = form.Handle();

  // Menu commands go to the menus the window owns.
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(7, 0), 0);
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(8, 0), 0);
  EXPECT_EQ(menu->Commands, 1);

  // The context menu of the control under the pointer, else the window's; the menu key opens
  // the window's at its corner.
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), At(origin.x + 15, origin.y + 15));
  SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), At(origin.x + 80, origin.y + 15));
  SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(-1, -1));
  ASSERT_EQ(boxMenu->Popups.size(), 1u);
  EXPECT_EQ(boxMenu->Popups[0].Invoker, box);
  EXPECT_EQ(boxMenu->Popups[0].X, origin.x + 15);
  ASSERT_EQ(menu->Popups.size(), 2u);
  EXPECT_EQ(menu->Popups[0].Invoker, &form);
  EXPECT_EQ(menu->Popups[1].X, origin.x);

  // Keys and focus.
  std::vector<std::string> keys;
  form.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
    keys.push_back("down " + std::to_string(key));
  };
  form.OnKeyUp = [&](TObject*, uint16_t& key, TShiftState) {
    keys.push_back("up " + std::to_string(key));
  };
  form.OnKeyPress = [&](TObject*, wchar_t& key) { keys.push_back("press " + std::to_string(key)); };
  form.OnEnter = [&](TObject*) { keys.push_back("enter"); };
  form.OnExit = [&](TObject*) { keys.push_back("exit"); };
  SendMessageW(h, WM_SETFOCUS, 0, 0);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(h, WM_CHAR, L'a', 0);
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  SendMessageW(h, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(keys, (std::vector<std::string>{"enter", "down 32", "press 97", "up 32", "exit"}));

  // Dropped files, through the form's own Dispatch, whole and in order.
  const std::wstring longName = L"C:\\" + std::wstring(300, L'長') + L".txt";
  SendMessageW(h, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\a.txt", longName})), 0);
  EXPECT_EQ(form.Dropped, (std::vector<std::wstring>{L"C:\\a.txt", longName}));

  // A child edit field of the native class: its own behaviour stays, and the messages about it
  // reach its control.
  auto* edit = new Edit(&form);
  edit->SetParent(&form);
  edit->SetBounds(60, 10, 100, 20);
  SetWindowTextW(edit->Handle(), L"テキスト");
  wchar_t text[32];
  GetWindowTextW(edit->Handle(), text, 32);
  EXPECT_STREQ(text, L"テキスト");
  EXPECT_GE(edit->Changes, 1);
  HDC dc = GetDC(edit->Handle());
  EXPECT_EQ(SendMessageW(h, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(edit->Handle())),
            reinterpret_cast<LRESULT>(edit->Brush.Get()));
  ReleaseDC(edit->Handle(), dc);

  // The system's close command: Close, which hides a form that is not the main one.
  form.Show();
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(h));
}

BOOL CALLBACK CountDialog(HWND w, LPARAM counter) {
  wchar_t name[16];
  GetClassNameW(w, name, 16);
  if (std::wstring(name) == L"#32770" && IsWindowVisible(w)) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int DialogsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(Exceptions, OneBoxAtATimeInFrontOfTheTopmostWindows) {
  TForm topmost(nullptr);
  topmost.SetFormStyle(TFormStyle::fsStayOnTop);
  topmost.SetBounds(0, 0, 300, 300);
  topmost.Show();

  // A tick that fails every time, as a broken walker would, keeps firing inside the box's loop.
  int ticks = 0, ticksWhileShown = 0, mostBoxes = 0;
  bool boxTopmost = false, formBelowBox = false;
  TTimer failing(nullptr);
  failing.SetInterval(10);
  failing.SetOnTimer([&](TObject*) {
    ++ticks;
    if (Application->ShowingException()) ++ticksWhileShown;
    throw Exception("毎回の失敗");
  });
  TTimer watcher(nullptr);
  watcher.SetInterval(20);
  watcher.SetOnTimer([&](TObject*) {
    mostBoxes = std::max(mostBoxes, DialogsOfThisThread());
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || ticksWhileShown < 5) return;
    // Topmost itself, and above the topmost form in the z-order.
    for (HWND w = GetWindow(box, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      formBelowBox = formBelowBox || w == topmost.Handle();
    boxTopmost = GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
    failing.SetEnabled(false);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const int droppedBefore = Application->DroppedExceptions();
  ASSERT_TRUE(PumpUntil([&] { return !failing.Enabled() && !Application->ShowingException(); }));
  EXPECT_EQ(mostBoxes, 1);
  EXPECT_GE(ticksWhileShown, 5);
  EXPECT_GE(Application->DroppedExceptions() - droppedBefore, ticksWhileShown);
  EXPECT_TRUE(boxTopmost);
  EXPECT_TRUE(formBelowBox);
  EXPECT_EQ(DialogsOfThisThread(), 0);
}

TEST(Handles, GuardsUndoTheirCallOnAnException) {
  TForm form(nullptr);
  form.Show();
  HWND h = form.Handle();
  try {
    MouseCapture capture(h);
    EXPECT_EQ(GetCapture(), h);
    throw Exception("x");
  } catch (const Exception&) {
  }
  EXPECT_EQ(GetCapture(), nullptr);

  MemoryDC dc(CreateCompatibleDC(nullptr));
  SetTextColor(dc.Get(), RGB(1, 2, 3));
  try {
    SavedDC saved(dc.Get());
    SetTextColor(dc.Get(), RGB(9, 9, 9));
    throw Exception("x");
  } catch (const Exception&) {
  }
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
}

TEST(Handles, OwnersFreeOnceAndMoveTheirHandle) {
  WindowHandle first(NewNativeWindow());
  HWND h = first.Get();
  WindowHandle second = std::move(first);
  EXPECT_FALSE(first);
  EXPECT_EQ(second.Get(), h);
  second.Reset(NewNativeWindow());
  EXPECT_FALSE(IsWindow(h));  // the old one was destroyed by the reset
  HWND kept = second.Release();
  second.Reset();
  EXPECT_TRUE(IsWindow(kept));  // released: no longer the owner's to destroy
  DestroyWindow(kept);
}

// A form whose creation handler fails.
class FailingForm : public TForm {
 public:
  explicit FailingForm(TComponent* owner) : TForm(owner) {
    OnCreate = [](TObject*) { throw Exception("作成に失敗"); };
  }
};

TEST(Forms, AFormWhoseCreationFailsIsNotKeptHalfBuilt) {
  FailingForm* main = nullptr;
  EXPECT_THROW(Application->CreateForm(main), Exception);
  EXPECT_EQ(main, nullptr);
  EXPECT_EQ(Application->MainForm(), nullptr);
  const size_t before = Application->Components().size();
  FailingForm* other = nullptr;
  EXPECT_THROW(CreateForm(Application, other), Exception);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(Application->Components().size(), before);
}

}  // namespace
