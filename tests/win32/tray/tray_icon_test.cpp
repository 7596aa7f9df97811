// The notification-area icon on its test form (tests/win32/forms/TTrayTestForm.dfm, stored as the
// settings window stores it): the requests it sends the shell (recorded instead of sent), the
// events of the shell's messages, the owner-window hook, and the real menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/reader.h"
#include "support/test_classes.h"
#include "support/test_support.h"
#include "support/tray_forms.h"

namespace {

struct ShellRequest {
  DWORD Request;
  NOTIFYICONDATAW Data;
  COLORREF Centre;  // the icon's colour in its middle, read while the icon existed
};
std::vector<ShellRequest>* recorded = nullptr;

COLORREF IconCentre(HICON icon) {
  if (!icon) return CLR_INVALID;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC dc(CreateCompatibleDC(nullptr));
  SavedDC saved(dc.Get());
  SelectObject(dc.Get(), bitmap.Get());
  DrawIconEx(dc.Get(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  return GetPixel(dc.Get(), 8, 8);
}

BOOL WINAPI RecordRequest(DWORD request, PNOTIFYICONDATAW data) {
  recorded->push_back({request, *data, IconCentre(data->hIcon)});
  return TRUE;
}

// A hook on a window that counts the messages of one kind reaching it.
class MessageCounter : public TWindowHook {
 public:
  MessageCounter(HWND window, UINT message) : message_(message) { Join(window); }
  int Count = 0;

 private:
  void HookMessage(TMessage& m) override {
    if (m.Msg == message_) ++Count;
    PassOn(m);
  }
  UINT message_;
};

class Tray : public testing::Test {
 protected:
  void SetUp() override {
    recorded = &Requests;
    TTrayIcon::ShellNotifyIcon = RecordRequest;
    ShowWindow(App(), SW_SHOWNOACTIVATE);
    Application->ShowMainForm = true;
    CreateForm(Application, form_);
    Form.reset(form_);
    Icon = Form->Tray();
  }
  void TearDown() override {
    Form.reset();
    TTrayIcon::ShellNotifyIcon = Shell_NotifyIconW;
    recorded = nullptr;
    ShowWindow(App(), SW_SHOWNOACTIVATE);
    Application->ShowMainForm = true;
  }
  static HWND App() { return Application->Handle(); }
  // Sends the shell's message about a mouse action on the icon.
  void Shell(UINT mouseMessage) {
    SendMessageW(Icon->WindowHandle(), TTrayIcon::kCallbackMessage, 0, mouseMessage);
  }
  std::vector<DWORD> RequestKinds() const {
    std::vector<DWORD> kinds;
    for (const auto& r : Requests) kinds.push_back(r.Request);
    return kinds;
  }
  std::wstring LastTip() const { return Requests.back().Data.szTip; }

  std::vector<ShellRequest> Requests;
  std::unique_ptr<TTrayTestForm> Form;
  TTrayIcon* Icon = nullptr;

 private:
  TTrayTestForm* form_ = nullptr;
};

TEST_F(Tray, StoredSettingsAndRegistrationRecord) {
  // Stored inactive: nothing asked of the shell, the application window left as it was.
  EXPECT_FALSE(Icon->Active());
  EXPECT_TRUE(Requests.empty());
  EXPECT_TRUE(IsWindowVisible(App()));
  EXPECT_TRUE(Application->ShowMainForm);
  EXPECT_FALSE(Icon->Hooked());
  EXPECT_TRUE(Icon->ShowMinimizedIcon());
  EXPECT_FALSE(Icon->NoClose());
  EXPECT_EQ(Icon->PopupMenu(), Form->Menu());
  EXPECT_EQ(Icon->Hint(), "");
  EXPECT_EQ(Icon->Interval(), 200);
  EXPECT_EQ(Icon->TimerMode(), TTrayTimerMode::tmGlobalTimer);
  EXPECT_EQ(Icon->Icon()->Width(), 29);
  EXPECT_EQ(Icon->Icon()->Height(), 29);

  // The first version of the wide record: its size is that of the fields up to a tip of 64
  // UTF-16 units, which differs between 32 and 64 bits.
  const NOTIFYICONDATAW data = Icon->Registration(Icon->Icon()->Handle());
  EXPECT_EQ(data.cbSize, NOTIFYICONDATAW_V1_SIZE);
  EXPECT_EQ(data.cbSize, sizeof(void*) == 4 ? 152u : 168u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(WCHAR), data.cbSize);
  EXPECT_EQ(data.hWnd, Icon->WindowHandle());
  EXPECT_EQ(data.uID, 0u);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 0x465u);
  EXPECT_EQ(data.hIcon, Icon->Icon()->Handle());
  // A top-level window, so that it hears broadcasts.
  EXPECT_EQ(GetAncestor(Icon->WindowHandle(), GA_PARENT), GetDesktopWindow());
}

TEST_F(Tray, ActivationAndDeactivation) {
  Icon->SetActive(true);
  EXPECT_EQ(RequestKinds(), std::vector<DWORD>{NIM_ADD});
  EXPECT_EQ(Requests[0].Data.hIcon, Icon->Icon()->Handle());
  EXPECT_FALSE(IsWindowVisible(App())) << "the task-bar button goes";
  EXPECT_FALSE(Application->ShowMainForm);
  EXPECT_TRUE(Icon->Hooked());
  EXPECT_FALSE(IsWindowVisible(Form->Handle())) << "nothing shows the form";

  Icon->SetActive(true);  // the same value: nothing
  EXPECT_EQ(Requests.size(), 1u);

  Icon->SetActive(false);
  EXPECT_EQ(RequestKinds(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
  EXPECT_TRUE(IsWindowVisible(App()));
  EXPECT_TRUE(Application->ShowMainForm);
  EXPECT_FALSE(Icon->Hooked());
  Icon->SetActive(false);
  EXPECT_EQ(Requests.size(), 2u);

  Icon->SetActive(true);  // and back: the hook is wanted again
  EXPECT_TRUE(Icon->Hooked());
  EXPECT_EQ(Requests.back().Request, DWORD(NIM_ADD));
}

TEST_F(Tray, StoredActiveIconBecomesActiveOnceItsFormIsLoaded) {
  TForm other(Application);
  ObjectDescription description{"TForm", "Other", {}, {}};
  Value hint;
  hint.Kind = ValueKind::String;
  hint.Text = "ヒント";
  description.Children.push_back({"TTrayIcon", "Tray", {{"Hint", hint}}, {}});
  ReadComponent(&other, description);
  auto* tray = dynamic_cast<TTrayIcon*>(other.FindComponent("Tray"));
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(tray->Active());
  EXPECT_TRUE(tray->Hooked());
  // One add, with the stored hint; no modify while loading.
  ASSERT_EQ(RequestKinds(), std::vector<DWORD>{NIM_ADD});
  EXPECT_EQ(LastTip(), L"ヒント");
  EXPECT_FALSE(IsWindowVisible(App()));
}

TEST_F(Tray, HintAndIconChanges) {
  Icon->SetHint("まだ");  // inactive: only stored
  TIcon other;
  other.LoadFromData(Icon->Icon()->Data());
  Icon->SetIcon(&other);
  EXPECT_TRUE(Requests.empty());
  Icon->SetActive(true);
  EXPECT_EQ(LastTip(), L"まだ");
  EXPECT_EQ(Requests.back().Data.hIcon, Icon->Icon()->Handle());

  Icon->SetHint("ランチャー");
  EXPECT_EQ(RequestKinds(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
  EXPECT_EQ(LastTip(), L"ランチャー");
  Icon->SetHint("ランチャー");  // the same text: nothing
  EXPECT_EQ(Requests.size(), 2u);
  const HICON before = Icon->Icon()->Handle();
  Icon->SetIcon(&other);
  ASSERT_EQ(Requests.size(), 3u);
  EXPECT_EQ(Requests.back().Request, DWORD(NIM_MODIFY));
  EXPECT_NE(Requests.back().Data.hIcon, before);
  EXPECT_EQ(Requests.back().Data.hIcon, Icon->Icon()->Handle());
}

TEST_F(Tray, LongHintsShowTheirFirst63UnitsAndNeverHalfAPair) {
  Icon->SetActive(true);
  Icon->SetHint(std::string(64, 'a'));
  EXPECT_EQ(LastTip(), std::wstring(63, L'a'));
  std::string japanese;
  for (int i = 0; i < 70; ++i) japanese += "あ";
  Icon->SetHint(japanese);
  EXPECT_EQ(LastTip(), std::wstring(63, L'あ'));
  // A character outside the basic plane (two UTF-16 units) at units 63 and 64 is left out whole.
  Icon->SetHint(std::string(62, 'b') + "\xF0\x9F\x90\x98" + "c");
  EXPECT_EQ(LastTip(), std::wstring(62, L'b'));
  Icon->SetHint(std::string(61, 'b') + "\xF0\x9F\x90\x98" + "c");
  EXPECT_EQ(LastTip(), std::wstring(61, L'b') + L"\U0001F418");
}

TEST_F(Tray, EventsOfEachShellMessageInOrder) {
  Form->LogEveryEvent();
  Icon->SetPopUpMenu(nullptr);
  ASSERT_TRUE(SetCursorPos(123, 45));
  const struct {
    UINT Message;
    std::vector<std::string> Events;
  } rows[] = {
      {WM_MOUSEMOVE, {"OnMouseMove 0 123 45"}},
      {WM_LBUTTONDOWN, {"OnMouseDown left 0 123 45"}},
      {WM_LBUTTONUP, {"OnClick", "OnMouseUp left 0 123 45"}},
      {WM_LBUTTONDBLCLK, {"OnDblClick", "OnMouseDown left 64 123 45"}},
      {WM_RBUTTONDOWN, {"OnMouseDown right 0 123 45"}},
      {WM_RBUTTONUP, {"OnClick", "OnMouseUp right 0 123 45"}},
      {WM_RBUTTONDBLCLK, {"OnDblClick", "OnMouseDown right 64 123 45"}},
      {WM_MBUTTONDOWN, {"OnMouseDown middle 0 123 45"}},
      {WM_MBUTTONUP, {"OnClick", "OnMouseUp middle 0 123 45"}},
      {WM_MBUTTONDBLCLK, {"OnDblClick", "OnMouseDown middle 64 123 45"}},
      {WM_XBUTTONDOWN, {}},
      {WM_CONTEXTMENU, {}},
  };
  for (const auto& row : rows) {
    Form->Log.clear();
    Shell(row.Message);
    EXPECT_EQ(Form->Log, row.Events) << "message " << std::hex << row.Message;
  }
  EXPECT_EQ(Icon->CursorPos().x, 123);
  EXPECT_EQ(Icon->CursorPos().y, 45);

  // A left double click as the shell reports it.
  Form->Log.clear();
  for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) Shell(m);
  EXPECT_EQ(Form->Log,
            (std::vector<std::string>{
                "OnMouseDown left 0 123 45", "OnClick", "OnMouseUp left 0 123 45", "OnDblClick",
                "OnMouseDown left 64 123 45", "OnClick", "OnMouseUp left 0 123 45"}));

  // With Alt down the state holds Alt; the icon identifier in the first parameter adds nothing.
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  BYTE withAlt[256];
  std::copy(keys, keys + 256, withAlt);
  withAlt[VK_MENU] = 0x80;
  SetKeyboardState(withAlt);
  Form->Log.clear();
  Shell(WM_MBUTTONDBLCLK);
  SetKeyboardState(keys);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"OnDblClick", "OnMouseDown middle 66 123 45"}));
}

TEST_F(Tray, RightPressOpensThePopupMenuOnlyWhenThereIsOne) {
  Form->LogEveryEvent();
  auto* menu = new TTestPopupMenu(Form.get());
  Icon->SetPopUpMenu(menu);
  ASSERT_TRUE(SetCursorPos(200, 300));
  Shell(WM_RBUTTONDOWN);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"OnMouseDown right 0 200 300", "OnPopUp"}));
  ASSERT_EQ(menu->Popups.size(), 1u);
  EXPECT_EQ(menu->Popups[0].X, 200);
  EXPECT_EQ(menu->Popups[0].Y, 300);
  EXPECT_EQ(menu->Popups[0].Invoker, Icon);
  // The double-click message does not open it again.
  Shell(WM_RBUTTONDBLCLK);
  EXPECT_EQ(menu->Popups.size(), 1u);

  // Freeing the menu clears the reference; a right press then opens nothing.
  delete menu;
  EXPECT_EQ(Icon->PopupMenu(), nullptr);
  Form->Log.clear();
  Shell(WM_RBUTTONDOWN);
  EXPECT_EQ(Form->Log, std::vector<std::string>{"OnMouseDown right 0 200 300"});
  // Not a popup menu: refused.
  TRecorder notAMenu(nullptr);
  EXPECT_THROW(Icon->SetPopUpMenu(&notAMenu), EReadError);
}

TEST_F(Tray, RightPressOpensTheStoredMenuAndTheChosenItemRunsAfterItCloses) {
  Icon->SetActive(true);
  ASSERT_TRUE(SetCursorPos(300, 250));
  std::vector<std::wstring> shown;
  bool openDuringPopUp = true;
  Icon->OnPopUp = [&](TObject*) { openDuringPopUp = OpenMenuWindow() != nullptr; };
  // The access key of the information item picks it.
  EXPECT_TRUE(OpenAndPick([&] { Shell(WM_RBUTTONDOWN); }, L'i',
                          [&](HWND menu) { shown = MenuItemTexts(menu); }));
  EXPECT_FALSE(openDuringPopUp);
  EXPECT_EQ(shown,
            (std::vector<std::wstring>{L"設定ウィンドウを開く(&S)...", L"-",
                                       L"インフォメーション(&I)...", L"-", L"終了する(&X)"}));
  EXPECT_EQ(Form->Menu()->PopupComponent(), Icon);
  // The item's handler runs from the message loop once the menu's own loop is over.
  EXPECT_TRUE(Form->Log.empty());
  ASSERT_TRUE(PumpUntil([&] { return !Form->Log.empty(); }));
  EXPECT_EQ(Form->Log, std::vector<std::string>{"click N2"});
}

TEST_F(Tray, MinimisingTheOwnerForm) {
  Form->Show();
  Icon->SetActive(true);
  ShowWindow(App(), SW_SHOWNOACTIVATE);
  // Stored ShowMinimizedIcon true: the form only minimises.
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(Form->Handle()));
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  EXPECT_TRUE(IsWindowVisible(App()));

  ShowWindow(Form->Handle(), SW_RESTORE);
  Icon->SetShowMinimizedIcon(false);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(Form->Handle())) << "only the icon remains";
  EXPECT_FALSE(Form->Visible());
  EXPECT_FALSE(IsWindowVisible(App()));
  EXPECT_EQ(RequestKinds(), std::vector<DWORD>{NIM_ADD});

  // Inactive, the hook is gone: the form only minimises.
  Icon->SetActive(false);
  ShowWindow(Form->Handle(), SW_RESTORE);
  Form->Show();
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(Form->Handle()));
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST_F(Tray, ClosingTheOwnerForm) {
  Form->Show();
  Icon->SetActive(true);
  Icon->SetNoClose(true);
  MessageCounter closes(Form->Handle(), WM_CLOSE);
  ShowWindow(App(), SW_SHOWNOACTIVATE);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(closes.Count, 0) << "the close command is not passed on";
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  EXPECT_FALSE(IsWindowVisible(App()));

  Form->Show();
  Icon->SetNoClose(false);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(closes.Count, 1) << "closes as usual";

  // NoClose while inactive: closes as usual too.
  Form->Show();
  Icon->SetNoClose(true);
  Icon->SetActive(false);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(closes.Count, 2);
}

TEST_F(Tray, DestroyingTheComponentRemovesTheIconAndTheHook) {
  Form->Show();
  Icon->SetActive(true);
  Icon->SetNoClose(true);
  const HWND hidden = Icon->WindowHandle();
  delete Icon;
  EXPECT_EQ(RequestKinds(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
  EXPECT_EQ(Requests.back().Data.hWnd, hidden);
  EXPECT_FALSE(IsWindow(hidden));
  MessageCounter closes(Form->Handle(), WM_CLOSE);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(closes.Count, 1) << "no hook holds the close command back";
}

TEST_F(Tray, TaskbarCreatedAddsAnActiveIconAgain) {
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageW(Icon->WindowHandle(), taskbarCreated, 0, 0);
  EXPECT_TRUE(Requests.empty()) << "an inactive icon stays away";
  Icon->SetActive(true);
  // As the shell announces it: a broadcast to every top-level window.
  PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Requests.size() == 2; }));
  EXPECT_EQ(RequestKinds(), (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
}

TEST_F(Tray, AnExceptionFromAHandlerIsShownAndTheHookStaysSound) {
  ExceptionCatcher caught;
  Form->Show();
  Icon->SetActive(true);
  Form->OnDoubleClick = [] { throw Exception("ダブルクリックの失敗"); };
  Shell(WM_LBUTTONDBLCLK);
  EXPECT_EQ(caught.Messages, std::vector<std::string>{"ダブルクリックの失敗"});
  Shell(WM_LBUTTONDBLCLK);
  EXPECT_EQ(caught.Messages.size(), 2u) << "the icon still hears the shell";
  Icon->SetShowMinimizedIcon(false);
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(Form->Handle())) << "the hook still works";
}

TEST_F(Tray, AnimationStepsThroughEveryPictureOfTheImageList) {
  auto* list = new TImageList(Form.get());
  for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) {
    Image picture = Image::Create(16, 16, 24);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        picture.SetColour(x, y, {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0});
    list->Add(picture);
  }
  Icon->SetImageList(list);
  // The global timer steps in multiples of 50 ms; the others take the interval as it is.
  Icon->SetTimerMode(TTrayTimerMode::tmHiTimer);
  Icon->SetInterval(60);
  EXPECT_EQ(Icon->Interval(), 60);
  Icon->SetTimerMode(TTrayTimerMode::tmGlobalTimer);
  EXPECT_EQ(Icon->Interval(), 100);
  Icon->SetInterval(65501);
  EXPECT_EQ(Icon->Interval(), 65500);
  Icon->SetInterval(50);

  Icon->SetActive(true);
  Icon->SetAnimated(true);
  ASSERT_TRUE(PumpUntil([&] { return Requests.size() >= 5; }));
  std::vector<COLORREF> shown;
  for (size_t i = 1; i < 5; ++i) shown.push_back(Requests[i].Centre);
  EXPECT_EQ(shown, (std::vector<COLORREF>{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                          RGB(255, 0, 0)}));
  Icon->SetAnimated(false);
  EXPECT_EQ(Requests.back().Data.hIcon, Icon->Icon()->Handle()) << "its own picture again";
  const size_t stopped = Requests.size();
  PumpUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(Requests.size(), stopped);

  // A shorter list brings the next picture back into it; freeing the list clears the reference.
  list->Delete(2);
  list->Delete(1);
  EXPECT_EQ(Icon->AnimationFrame(), 0);
  delete list;
  EXPECT_EQ(Icon->ImageList(), nullptr);
}

}  // namespace
