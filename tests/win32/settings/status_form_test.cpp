// The settings window from its stored description, on real windows: every stored value, the
// portraits of each slot, the arrows, the check boxes showing and hiding their characters, the
// close button and the system's close command (refusal, save, walkers restarted, a failed save),
// hit testing, the pixels of the title strip and the portraits with a screenshot per slot, and
// 1,000 openings without leaks.
#include "settings/status_form.h"

#include <gtest/gtest.h>
#include <psapi.h>
// DROPFILES
#include <shlobj.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "framework/core/exception.h"
#include "framework/core/sysutils.h"
#include "framework/system.h"
#include "settings/core/information_page.h"
#include "support/files.h"
#include "support/shell_support.h"
#include "support/test_support.h"
#include "support/user_folder.h"

namespace {

int beeps = 0;
BOOL WINAPI CountBeep(UINT) {
  ++beeps;
  return TRUE;
}

// A character window as the settings window sees it: a window and a walker's timer.
class Character : public TForm {
 public:
  Character(TComponent* owner, int slot) : TForm(owner) {
    SetBounds(420 + 40 * slot, 400, 30, 30);
    SetBorderStyle(TBorderStyle::bsNone);
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(50);
  }
  TTimer* Timer1;
};

class FakeCharacters final : public CharacterWindows {
 public:
  std::array<Character*, kSlotCount> Windows{};
  // The slots whose walker was asked for, in order, with whether it was running then.
  mutable std::vector<std::pair<int, bool>> WalkersAsked;
  TForm* Window(int slot) const override { return Windows.at(size_t(slot)); }
  TTimer* Walker(int slot) const override {
    TTimer* timer = Windows.at(size_t(slot))->Timer1;
    WalkersAsked.emplace_back(slot, timer->Enabled());
    return timer;
  }
};

void RemoveSettingsFile() {
  const std::wstring path = Widen(SettingsFilePath());
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

std::string IniValue(const std::string& section, const std::string& key,
                     const std::string& path = SettingsFilePath()) {
  wchar_t value[512] = L"";
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<none>", value, 512,
                           Widen(path).c_str());
  return Narrow(value);
}

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage;
}

BOOL CALLBACK CountWindow(HWND, LPARAM param) {
  ++*reinterpret_cast<int*>(param);
  return TRUE;
}

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

class StatusFormTest : public testing::Test {
 protected:
  Replaced<decltype(RefusalBeep)> countedBeeps_{RefusalBeep, CountBeep};
  // The characters live through the whole suite: destroying a shown window costs seconds here.
  static void SetUpTestSuite() {
    for (int slot = 0; slot < kSlotCount; ++slot)
      characters.Windows[size_t(slot)] = new Character(Application, slot);
  }
  static void TearDownTestSuite() {
    for (Character*& c : characters.Windows) delete std::exchange(c, nullptr);
  }
  void SetUp() override {
    RemoveSettingsFile();
    userFolder.emplace(userData.Path());
    beeps = 0;
    for (Character* c : characters.Windows) {
      c->Show();
      c->Timer1->SetEnabled(false);
    }
    CreateForm(Application, StatusForm1);
    form.reset(StatusForm1);
    form->Characters = &characters;
  }
  void TearDown() override {
    form.reset();
    EXPECT_EQ(StatusForm1, nullptr);
    for (Character* c : characters.Windows) c->Timer1->SetEnabled(false);
    RemoveSettingsFile();
  }

  // The screen point at a client point of the settings window.
  POINT At(int x, int y) const { return {form->Left() + x, form->Top() + y}; }
  bool WalkersRunning(bool running) const {
    for (Character* c : characters.Windows)
      if (c->Timer1->Enabled() != running) return false;
    return true;
  }
  // The 48 x 48 picture INDEX of ImageList1 as it draws.
  Image ListPicture(int index) {
    TBitmap picture;
    picture.SetImage(Image::Create(48, 48, 24));
    form->ImageList1->Draw(picture.Canvas(), 0, 0, index);
    return picture.GetImage();
  }
  bool PortraitAt(const Image& background, int slot, int index) {
    const Image expected = ListPicture(index);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x)
        if (background.Colour(TStatusForm1::kPortraitLeft + x,
                              TStatusForm1::kPortraitTop + TStatusForm1::kSlotPitch * slot + y) !=
            expected.Colour(x, y))
          return false;
    return true;
  }

  inline static FakeCharacters characters;
  std::unique_ptr<TStatusForm1> form;
  // No test reaches the real user's folder.
  TempFolder userData{"userdata"};
  std::optional<UserDataFolderRedirect> userFolder;
};

template <class T>
T* Find(TForm* form, const std::string& name) {
  auto* component = dynamic_cast<T*>(form->FindComponent(name));
  EXPECT_NE(component, nullptr) << name;
  return component;
}

TEST_F(StatusFormTest, HoldsEveryStoredValue) {
  EXPECT_EQ(form->Name(), "StatusForm1");
  EXPECT_EQ(form->BoundsRect().left, 20);
  EXPECT_EQ(form->Top(), 20);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 350);
  EXPECT_EQ(client.bottom, 350);
  EXPECT_EQ(form->BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(form->FormStyle(), TFormStyle::fsStayOnTop);
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->Caption(), "設定ウィンドウ");
  EXPECT_EQ(form->Font().Name(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(form->Font().Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(form->Font().Height(), -12);
  EXPECT_EQ(form->SelectedSlot, 0);

  // What is drawn on the window's surface, bottom first, and how.
  struct Text {
    const char* Name;
    int Left, Top;
    const char* Caption;
    bool Bold;
    int Pixels;
    COLORREF Colour;
  };
  const COLORREF shadow = RGB(40, 40, 40), launchShadow = RGB(35, 35, 35),
                 white = RGB(255, 255, 255);
  const std::string hint = "『キャラを選択して，立ち上げるファイルをドロップ♪』";
  const std::string title = "Launcher Tivolu! ～Quillet～";
  const std::vector<Text> texts = {
      {"Label2", 29, 35, "Odvik", true, 12, shadow},
      {"Label3", 65, 62, "Launch!", false, 12, launchShadow},
      {"Label7", 65, 134, "Launch!", false, 12, launchShadow},
      {"Label9", 65, 206, "Launch!", false, 12, launchShadow},
      {"Label11", 65, 278, "Launch!", false, 12, launchShadow},
      {"Label12", 29, 107, "Sefra", true, 12, shadow},
      {"Label13", 29, 179, "Lintu", true, 12, shadow},
      {"Label14", 29, 251, "Zemm", true, 12, shadow},
      {"Label18", 28, 34, "Odvik", true, 12, white},
      {"Label19", 28, 106, "Sefra", true, 12, white},
      {"Label20", 28, 178, "Lintu", true, 12, RGB(250, 250, 250)},
      {"Label21", 28, 250, "Zemm", true, 12, white},
      {"Label23", 73, 332, hint.c_str(), true, 11, shadow},
      {"Label22", 72, 331, hint.c_str(), true, 11, white},
      {"Label4", 71, 6, title.c_str(), false, 11, RGB(0, 0, 0)},
      {"Label15", 70, 5, title.c_str(), false, 11, white},
      {"Label1", 64, 61, "Launch!", false, 12, white},
      {"Label5", 64, 133, "Launch!", false, 12, white},
      {"Label8", 64, 205, "Launch!", false, 12, white},
      {"Label10", 64, 277, "Launch!", false, 12, white},
  };
  for (const Text& t : texts) {
    SCOPED_TRACE(t.Name);
    auto* label = Find<TLabel>(form.get(), t.Name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Left(), t.Left);
    EXPECT_EQ(label->Top(), t.Top);
    EXPECT_EQ(label->Caption(), t.Caption);
    EXPECT_TRUE(label->Transparent());
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(label->Width(), MeasureText(label->Font(), t.Caption).cx);
    EXPECT_EQ(label->Font().Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(label->Font().Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(label->Font().Height(), -t.Pixels);
    EXPECT_EQ(label->Font().Style().Bold, t.Bold);
    EXPECT_EQ(ColorToRGB(label->Font().Color()), t.Colour);
  }
  for (const char* name : {"Shape5", "Shape7", "Shape9", "Shape11"}) {
    SCOPED_TRACE(name);
    auto* shape = Find<TShape>(form.get(), name);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Left(), 107);
    EXPECT_EQ(shape->Width(), 232);
    EXPECT_EQ(shape->Height(), 18);
    EXPECT_EQ(ColorToRGB(shape->BrushColor()), shadow);
    EXPECT_EQ(shape->PenStyle(), TPenStyle::psClear);
  }
  EXPECT_EQ(Find<TShape>(form.get(), "Shape9")->Top(), 205);
  // The z-order of the surface: the background, the shadows and texts as listed.
  std::vector<std::string> surface;
  for (TControl* c : form->Controls())
    if (dynamic_cast<TGraphicControl*>(c)) surface.push_back(c->Name());
  std::vector<std::string> expectedSurface = {"Image1",  "Label2",  "Label3",  "Label7",  "Label9",
                                              "Label11", "Label12", "Label13", "Label14", "Shape5",
                                              "Shape7",  "Shape9",  "Shape11"};
  for (size_t i = 8; i < texts.size(); ++i) expectedSurface.push_back(texts[i].Name);
  EXPECT_EQ(surface, expectedSurface);
  EXPECT_EQ(form->Image1->BoundsRect().right, 350);
  EXPECT_EQ(form->Image1->Picture()->Width(), 350);

  struct Field {
    TEdit* Edit;
    int Top;
    COLORREF Colour;
  };
  for (const Field& f :
       {Field{form->Edit1, 58, RGB(255, 255, 202)}, Field{form->Edit3, 130, RGB(255, 221, 221)},
        Field{form->Edit5, 202, RGB(255, 255, 255)}, Field{form->Edit7, 274, RGB(223, 255, 255)}}) {
    SCOPED_TRACE(f.Edit->Name());
    EXPECT_EQ(f.Edit->Left(), 104);
    EXPECT_EQ(f.Edit->Top(), f.Top);
    EXPECT_EQ(f.Edit->Width(), 232);
    EXPECT_EQ(f.Edit->Height(), 18);
    EXPECT_EQ(ColorToRGB(f.Edit->Color()), f.Colour);
    EXPECT_FALSE(f.Edit->AutoSize());
    EXPECT_FALSE(f.Edit->Ctl3D());
    EXPECT_TRUE(f.Edit->ReadOnly());
    EXPECT_EQ(f.Edit->Text(), "");
    EXPECT_EQ(f.Edit->Hint(), "ラウンチファイル");
    EXPECT_TRUE(f.Edit->ShowHint());
    EXPECT_EQ(f.Edit->Font().Height(), -11);
    EXPECT_EQ(ColorToRGB(f.Edit->Font().Color()), RGB(0, 0, 0));
    EXPECT_EQ(f.Edit->Font().Name(), "ＭＳ Ｐゴシック");
  }
  const std::array<int, 4> boxTops{34, 106, 177, 249};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    TdxfCheckBox* box = form->SlotCheckBox(slot);
    SCOPED_TRACE(box->Name());
    EXPECT_EQ(box->BoundsRect().left, 12);
    EXPECT_EQ(box->Top(), boxTops[size_t(slot)]);
    EXPECT_EQ(box->Width(), 13);
    EXPECT_EQ(box->Height(), 13);
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(box->AutoSize());
    EXPECT_EQ(box->GroupIndex(), 0);
    EXPECT_EQ(box->Cursor(), crHandPoint);
    EXPECT_EQ(box->Hint(), "キャラの表示/非表示");
    EXPECT_TRUE(box->ShowHint());
    EXPECT_TRUE(box->OnClick);
  }
  struct Button {
    const char* Panel;
    TImage* Image;
    int Left, Width, Height;
    const char* Hint;
  };
  for (const Button& b : {Button{"Panel1", form->Image2, 4, 53, 16, "インフォメーション"},
                          Button{"Panel2", form->Image3, 240, 24, 17, "キャラの選択"},
                          Button{"Panel3", form->Image4, 270, 24, 18, "キャラの選択"},
                          Button{"Panel4", form->Image5, 306, 37, 16, "閉じる"}}) {
    SCOPED_TRACE(b.Panel);
    auto* panel = Find<TPanel>(form.get(), b.Panel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Left(), b.Left);
    EXPECT_EQ(panel->Top(), 2);
    EXPECT_EQ(panel->Width(), b.Width);
    EXPECT_EQ(panel->Height(), b.Height);
    EXPECT_EQ(panel->BevelOuter(), TBevelCut::bvNone);
    EXPECT_EQ(b.Image->Parent(), panel);
    EXPECT_EQ(b.Image->BoundsRect().left, 0);
    EXPECT_EQ(b.Image->Top(), 0);
    EXPECT_EQ(b.Image->Width(), b.Width);
    EXPECT_EQ(b.Image->Height(), b.Height);
    EXPECT_TRUE(b.Image->AutoSize());
    EXPECT_EQ(b.Image->Cursor(), crHandPoint);
    EXPECT_EQ(b.Image->Hint(), b.Hint);
    EXPECT_TRUE(b.Image->ShowHint());
  }
  EXPECT_TRUE(form->Image3->OnClick);
  EXPECT_TRUE(form->Image4->OnClick);
  EXPECT_TRUE(form->Image5->OnClick);

  std::vector<std::string> tabs;
  for (TWinControl* c : form->TabOrderList()) tabs.push_back(c->Name());
  EXPECT_EQ(tabs, (std::vector<std::string>{"Edit1", "Edit3", "Edit5", "Edit7", "CheckBox1",
                                            "Panel1", "Panel2", "Panel3", "Panel4", "CheckBox2",
                                            "CheckBox3", "CheckBox4"}));

  EXPECT_EQ(form->ImageList1->Width(), 48);
  EXPECT_EQ(form->ImageList1->Height(), 48);
  EXPECT_EQ(form->ImageList1->Count(), 8);
  EXPECT_FALSE(form->ImageList1->Masked());
  EXPECT_EQ(form->ImageList1->BkColor(), clWhite);
  // Pictures 4 to 7 are 0 to 3 in greys.
  for (int index = 0; index < 4; ++index) {
    const Image colour = ListPicture(index), grey = ListPicture(index + 4);
    const PaletteEntry c = colour.Colour(24, 24), g = grey.Colour(24, 24);
    EXPECT_EQ(g.Red, g.Green);
    EXPECT_EQ(g.Green, g.Blue);
    EXPECT_NEAR(g.Red, 0.299 * c.Red + 0.587 * c.Green + 0.114 * c.Blue, 1.5);
  }

  EXPECT_FALSE(form->TrayIcon1->Active());
  EXPECT_TRUE(form->TrayIcon1->ShowMinimizedIcon());
  EXPECT_EQ(form->TrayIcon1->PopupMenu(), form->PopupMenu1);
  EXPECT_EQ(form->TrayIcon1->Hint(), "");
  EXPECT_EQ(form->TrayIcon1->Icon()->Width(), 29);
  std::vector<std::string> items;
  for (TMenuItem* item : form->PopupMenu1->Items()) items.push_back(item->Caption());
  EXPECT_EQ(items, (std::vector<std::string>{"設定ウィンドウを開く(&S)...", "-",
                                             "インフォメーション(&I)...", "-", "終了する(&X)"}));
}

TEST_F(StatusFormTest, FormShowPaintsTheSelectedPortraitInColourAndEnablesOnlyItsField) {
  for (int selected = 0; selected < kSlotCount; ++selected) {
    SCOPED_TRACE(selected);
    form->SelectedSlot = selected;
    form->FormShow(nullptr);
    const Image background = form->Image1->Picture()->GetImage();
    for (int slot = 0; slot < kSlotCount; ++slot) {
      EXPECT_TRUE(PortraitAt(background, slot, slot == selected ? slot : slot + 4)) << slot;
      EXPECT_EQ(form->SlotEdit(slot)->Enabled(), slot == selected);
      EXPECT_EQ(IsWindowEnabled(form->SlotEdit(slot)->Handle()) != FALSE, slot == selected);
    }
  }
  // A slot outside 0..3 changes nothing.
  const Image before = form->Image1->Picture()->GetImage();
  for (int outside : {4, -1, 1000}) {
    form->SelectedSlot = outside;
    form->FormShow(nullptr);
    EXPECT_EQ(form->Image1->Picture()->GetImage(), before);
    EXPECT_TRUE(form->Edit7->Enabled());
    EXPECT_FALSE(form->Edit1->Enabled());
  }
}

TEST_F(StatusFormTest, TheArrowsWrapRoundBothWays) {
  form->SelectedSlot = 3;
  form->Image3Click(form->Image3);
  EXPECT_EQ(form->SelectedSlot, 0);
  EXPECT_TRUE(form->Edit1->Enabled());
  form->Image4Click(form->Image4);
  EXPECT_EQ(form->SelectedSlot, 3);
  EXPECT_TRUE(form->Edit7->Enabled());
  EXPECT_TRUE(PortraitAt(form->Image1->Picture()->GetImage(), 3, 3));
  for (int step = 1; step <= 8; ++step) {
    form->Image3Click(form->Image3);
    EXPECT_EQ(form->SelectedSlot, (3 + step) % 4);
  }
  for (int step = 1; step <= 8; ++step) {
    form->Image4Click(form->Image4);
    EXPECT_EQ(form->SelectedSlot, ((3 - step) % 4 + 4) % 4);
  }
}

TEST_F(StatusFormTest, EachCheckBoxHidesAndShowsItsCharacterAtOnce) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SCOPED_TRACE(slot);
    Character* character = characters.Windows[size_t(slot)];
    form->SlotCheckBox(slot)->SetChecked(false);
    EXPECT_FALSE(character->Visible());
    EXPECT_FALSE(IsWindowVisible(character->Handle()));
    for (int other = 0; other < kSlotCount; ++other)
      if (other != slot) {
        EXPECT_TRUE(characters.Windows[size_t(other)]->Visible());
      }
    form->SlotCheckBox(slot)->SetChecked(true);
    EXPECT_TRUE(IsWindowVisible(character->Handle()));
  }
  // A real click on a box of the open window; the character, shown again while the window is
  // open, takes no input.
  bool clicked = false;
  Later click([&] {
    ClickAt(At(18, 183));
    PumpUntil([&] { return !form->CheckBox3->Checked(); }, std::chrono::seconds(5));
    EXPECT_FALSE(characters.Windows[2]->Visible());
    ClickAt(At(18, 183));
    PumpUntil([&] { return form->CheckBox3->Checked(); }, std::chrono::seconds(5));
    EXPECT_TRUE(characters.Windows[2]->Visible());
    EXPECT_FALSE(IsWindowEnabled(characters.Windows[2]->Handle()));
    clicked = true;
    form->Image5Click(form->Image5);
  });
  form->ShowModal();
  EXPECT_TRUE(clicked);
  EXPECT_TRUE(IsWindowEnabled(characters.Windows[2]->Handle()));
}

TEST_F(StatusFormTest, ClosingIsRefusedWhileNothingIsTickedThenSavesAndStartsTheWalkers) {
  form->SetLaunchFile(1, "C:\\ユーザー\\起動.txt");
  bool refused = false;
  Later close([&] {
    for (int slot = 0; slot < kSlotCount; ++slot) form->SlotCheckBox(slot)->SetChecked(false);
    ClickAt(At(306 + 18, 2 + 8));  // the close button
    PumpUntil([] { return beeps == 1; }, std::chrono::seconds(5));
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);  // the system's close command
    PumpUntil([] { return beeps == 2; }, std::chrono::seconds(5));
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->Modal());
    EXPECT_FALSE(Exists(SettingsFilePath()));
    EXPECT_TRUE(WalkersRunning(false));
    refused = true;
    form->CheckBox3->SetChecked(true);
    ClickAt(At(306 + 18, 2 + 8));
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_TRUE(refused);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(beeps, 2);
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_EQ(IniValue("Visible", "Char01"), "0");
  EXPECT_EQ(IniValue("Visible", "Char02"), "0");
  EXPECT_EQ(IniValue("Visible", "Char03"), "1");
  EXPECT_EQ(IniValue("Visible", "Char04"), "0");
  EXPECT_EQ(IniValue("Execute", "Char02"), "C:\\ユーザー\\起動.txt");
  EXPECT_EQ(IniValue("Execute", "Char01"), "");
  EXPECT_TRUE(characters.Windows[2]->Visible());
  EXPECT_FALSE(characters.Windows[0]->Visible());
}

TEST_F(StatusFormTest, TheSystemsCloseCommandSavesAndClosesLikeTheCloseButton) {
  // Alt+F4 on the open window.
  Later altF4([&] {
    SetForegroundWindow(form->Handle());
    SendKey(VK_F4, true, {VK_MENU});
    SendKey(VK_F4, false);
  });
  // Only so that a broken key path fails instead of hanging: the window is then closed by hand.
  bool keyFailed = false;
  Later fallback(
      [&] {
        keyFailed = true;
        form->Image5Click(form->Image5);
      },
      5000);
  form->ShowModal();
  EXPECT_FALSE(keyFailed) << "Alt+F4 did not close the settings window";
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_EQ(IniValue("Visible", "Char04"), "1");
  EXPECT_FALSE(form->Visible());
}

TEST_F(StatusFormTest, AReadOnlyFileBesideTheProgramSendsTheSaveToTheUsersFolder) {
  WriteBytes(SettingsFilePath(), "[Visible]\r\n");
  SetFileAttributesW(Widen(SettingsFilePath()).c_str(), FILE_ATTRIBUTE_READONLY);
  ExceptionCatcher caught;
  Later close([&] {
    form->SetLaunchFile(0, "kept.txt");
    ClickAt(At(306 + 18, 2 + 8));
  });
  form->ShowModal();
  EXPECT_TRUE(caught.Messages.empty());
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_EQ(IniValue("Execute", "Char01"), "<none>");
  EXPECT_EQ(IniValue("Execute", "Char01", userData.Path() + "tivolu\\tivolu.ini"), "kept.txt");
}

// Neither beside the program nor in the user's folder: the first close shows the error and keeps
// the window open; a retry that succeeds saves; closing again after a failure closes the window
// all the same, the settings kept in it; the next opening's failure is shown again.
TEST_F(StatusFormTest, AFailedSaveIsShownOnceAndTheNextCloseClosesTheWindowWhateverHappens) {
  WriteBytes(SettingsFilePath(), "[Visible]\r\n");
  SetFileAttributesW(Widen(SettingsFilePath()).c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string blocker = userData.Path() + "tivolu";
  const std::string userFile = blocker + "\\tivolu.ini";
  auto block = [&] { WriteBytes(blocker, ""); };
  auto unblock = [&] { DeleteFileW(Widen(blocker).c_str()); };
  ExceptionCatcher caught;
  auto closeAndExpectError = [&](size_t errors) {
    ClickAt(At(306 + 18, 2 + 8));
    PumpUntil([&] { return caught.Messages.size() == errors; }, std::chrono::seconds(5));
    ASSERT_EQ(caught.Messages.size(), errors);
    EXPECT_EQ(caught.Messages.back(), userFile + " に書き込めません");
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(WalkersRunning(false));
  };

  // A retry once the user's folder can be written again saves there.
  block();
  bool checked = false;
  Later retry([&] {
    form->SetLaunchFile(0, "first.txt");
    closeAndExpectError(1);
    EXPECT_EQ(form->LaunchFile(0), "first.txt");
    EXPECT_TRUE(form->CheckBox1->Checked());
    unblock();
    checked = true;
    ClickAt(At(306 + 18, 2 + 8));
  });
  form->ShowModal();
  EXPECT_TRUE(checked);
  EXPECT_EQ(caught.Messages.size(), 1u);
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_EQ(IniValue("Execute", "Char01", userFile), "first.txt");
  RemoveTree(Widen(blocker));

  // Nothing can be written: the second close closes silently, the settings live on in the window.
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(opening);
    block();
    for (Character* c : characters.Windows) c->Timer1->SetEnabled(false);
    checked = false;
    Later closeTwice([&] {
      form->SetLaunchFile(1, "second.txt");
      closeAndExpectError(size_t(opening) + 1);
      checked = true;
      ClickAt(At(306 + 18, 2 + 8));
    });
    form->ShowModal();
    EXPECT_TRUE(checked);
    EXPECT_EQ(caught.Messages.size(), size_t(opening) + 1) << "one error box per opening";
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(WalkersRunning(true));
    EXPECT_EQ(form->LaunchFile(1), "second.txt");
    unblock();
  }
  EXPECT_FALSE(Exists(userFile));
}

TEST_F(StatusFormTest, TheSurfaceAnswersCaptionTheControlsTheirOwnHitTests) {
  form->Show();
  auto hit = [&](HWND window, POINT screen) {
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  };
  // The background, a label, a shadow and a portrait.
  for (POINT p :
       {POINT{200, 100}, POINT{31, 38}, POINT{337, 77}, POINT{36, 140}, POINT{150, 340}}) {
    EXPECT_EQ(WindowFromPoint(At(p.x, p.y)), form->Handle()) << p.x << "," << p.y;
    EXPECT_EQ(hit(form->Handle(), At(p.x, p.y)), HTCAPTION);
  }
  struct Control {
    TWinControl* Window;
    POINT Point;
  };
  for (const Control& c :
       {Control{form->Edit1, {200, 66}}, Control{form->Edit1, {110, 60}},
        Control{form->CheckBox2, {18, 112}}, Control{Find<TPanel>(form.get(), "Panel1"), {20, 8}},
        Control{Find<TPanel>(form.get(), "Panel4"), {320, 8}}}) {
    SCOPED_TRACE(c.Window->Name());
    EXPECT_EQ(WindowFromPoint(At(c.Point.x, c.Point.y)), c.Window->Handle());
    EXPECT_EQ(hit(c.Window->Handle(), At(c.Point.x, c.Point.y)), HTCLIENT);
  }
  // A disabled field takes no mouse input: there the window is dragged.
  EXPECT_EQ(WindowFromPoint(At(200, 280)), form->Handle());
  form->Hide();
}

// The window as shown, for each slot: the title-strip buttons and the portraits where the tables
// put them. Saves build/settings-window-slot<N>.bmp for review.
TEST_F(StatusFormTest, ShowsTheButtonsAndPortraitsInPlaceForEachSlot) {
  for (int selected = 0; selected < kSlotCount; ++selected) {
    SCOPED_TRACE(selected);
    form->SelectedSlot = selected;
    form->Show();
    Application->ProcessMessages();
    PumpUntil([] { return false; }, std::chrono::milliseconds(200));
    const Snapshot shot = TakeSnapshot(form->Handle());
    ASSERT_EQ(shot.Width, 350);
    ASSERT_EQ(shot.Height, 350);
    auto shows = [&](const Image& picture, int left, int top) {
      for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
          const PaletteEntry c = picture.Colour(x, y);
          if (shot.At(left + x, top + y) != RGB(c.Red, c.Green, c.Blue)) return false;
        }
      return true;
    };
    EXPECT_TRUE(shows(form->Image2->Picture()->GetImage(), 4, 2));
    EXPECT_TRUE(shows(form->Image3->Picture()->GetImage(), 240, 2));
    EXPECT_TRUE(shows(form->Image4->Picture()->GetImage(), 270, 2));
    EXPECT_TRUE(shows(form->Image5->Picture()->GetImage(), 306, 2));
    for (int slot = 0; slot < kSlotCount; ++slot)
      EXPECT_TRUE(shows(ListPicture(slot == selected ? slot : slot + 4), 12, 50 + 72 * slot))
          << slot;

    Image image = Image::Create(shot.Width, shot.Height, 24);
    for (int y = 0; y < shot.Height; ++y)
      for (int x = 0; x < shot.Width; ++x) {
        const COLORREF c = shot.At(x, y);
        image.SetColour(x, y, {GetBValue(c), GetGValue(c), GetRValue(c), 0});
      }
    const std::vector<uint8_t> file = WriteBmpFile(image);
    WriteBytes(ExtractFilePath(ParamStr(0)) + "..\\settings-window-slot" +
                   std::to_string(selected + 1) + ".bmp",
               std::string(file.begin(), file.end()));
    form->Hide();
  }
}

// Every opening must give back all it takes: one handle or one window kept fails at once, and a
// kilobyte or more kept an opening fails the memory bound (without a leak the memory grows by
// nothing at all over these openings).
TEST_F(StatusFormTest, RepeatedOpeningsLeakNoHandlesAndGrowNoMemory) {
  auto round = [&](int times) {
    for (int i = 0; i < times; ++i) {
      form->SelectedSlot = i % 4;
      PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
      form->ShowModal();
    }
  };
  round(20);  // what the first openings make once (surfaces, caches) is not counted
  const int headroom = GdiHeadroom();
  const int windows = ThreadWindowCount();
  const size_t memory = PrivateBytes();
  const int openings = 250;
  round(openings);
  EXPECT_EQ(GdiHeadroom(), headroom);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_LT(PrivateBytes(), memory + openings * 1024);
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_EQ(beeps, 0);
}

}  // namespace

// Drops made in this process, as the shell makes them, onto the settings window.
class StatusFormDropTest : public StatusFormTest {
 protected:
  // Sends the drop at a client point of the window; returns whether its handle was released.
  bool Drop(const std::vector<std::wstring>& paths, POINT at = {200, 300}) {
    HGLOBAL drop = MakeDrop(paths);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pt = at;
    GlobalUnlock(drop);
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    return DropReleased(drop);
  }
  std::array<std::string, kSlotCount> Fields() const {
    return {form->LaunchFile(0), form->LaunchFile(1), form->LaunchFile(2), form->LaunchFile(3)};
  }
};

TEST_F(StatusFormDropTest, GoesToTheSelectedSlotOnlyWhereverItLandsAndTheLastItemWins) {
  form->SelectedSlot = 1;
  const POINT overEdit1{150, 66};
  EXPECT_TRUE(Drop({L"C:\\a\\first.txt"}, overEdit1));
  EXPECT_EQ(Fields(), (std::array<std::string, 4>{"", "C:\\a\\first.txt", "", ""}));

  EXPECT_TRUE(Drop({L"C:\\one.txt", L"D:\\two", L"E:\\three.doc"}));
  EXPECT_EQ(form->LaunchFile(1), "E:\\three.doc");

  // Another slot chosen with the arrow between two drops: each keeps its own, and the close
  // button saves both.
  form->Image3Click(form->Image3);
  EXPECT_TRUE(Drop({L"F:\\for slot three.lnk"}));
  EXPECT_EQ(Fields(),
            (std::array<std::string, 4>{"", "E:\\three.doc", "F:\\for slot three.lnk", ""}));
  form->Image5Click(form->Image5);
  EXPECT_EQ(IniValue("Execute", "Char02"), "E:\\three.doc");
  EXPECT_EQ(IniValue("Execute", "Char03"), "F:\\for slot three.lnk");
  EXPECT_EQ(beeps, 0);
}

TEST_F(StatusFormDropTest, LongAndNonAnsiPathsArriveWhole) {
  form->SelectedSlot = 3;
  const std::wstring longPath = L"C:\\" + std::wstring(600, L'd') + L"\\x.txt";
  ASSERT_GT(longPath.size(), 600u);
  EXPECT_TRUE(Drop({longPath}));
  EXPECT_EQ(Widen(form->LaunchFile(3)), longPath);
  EXPECT_TRUE(Drop({Widen(kOutsideEveryCodePage)}));
  EXPECT_EQ(form->LaunchFile(3), kOutsideEveryCodePage);
  EXPECT_TRUE(Drop({Widen(kJapanesePath)}));
  EXPECT_EQ(form->LaunchFile(3), kJapanesePath);
  wchar_t shown[64] = L"";
  GetWindowTextW(form->Edit7->Handle(), shown, 64);
  EXPECT_EQ(Narrow(shown), kJapanesePath);
}

TEST_F(StatusFormDropTest, AnEmptyDropOrALineBreakChangesNothingAndTheHandleIsReleased) {
  form->SetLaunchFile(0, "C:\\kept.txt");
  form->SelectedSlot = 0;
  ASSERT_EQ(form->LaunchFile(0), "C:\\kept.txt");
  EXPECT_TRUE(Drop({}));
  EXPECT_EQ(form->LaunchFile(0), "C:\\kept.txt");
  EXPECT_EQ(beeps, 0);
  // A Linux file name may hold a line break; the settings file could not keep it.
  EXPECT_TRUE(Drop({L"Z:\\home\\a\nb.txt"}));
  EXPECT_TRUE(Drop({L"Z:\\fine.txt", L"Z:\\home\\c\rd.txt"}));
  EXPECT_EQ(form->LaunchFile(0), "C:\\kept.txt");
  EXPECT_EQ(beeps, 2);
  // A slot outside 0..3 receives nothing, and the drop is still released.
  form->SelectedSlot = 7;
  EXPECT_TRUE(Drop({L"C:\\nowhere.txt"}));
  EXPECT_EQ(Fields(), (std::array<std::string, 4>{"C:\\kept.txt", "", "", ""}));
}

TEST_F(StatusFormTest, OpeningStopsTheWalkersOwnFirstSelectsTheSlotAndShowsModally) {
  const std::array<std::array<int, 4>, 4> orders{
      {{0, 1, 2, 3}, {1, 0, 2, 3}, {2, 0, 1, 3}, {3, 0, 1, 2}}};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SCOPED_TRACE(slot);
    for (Character* c : characters.Windows) c->Timer1->SetEnabled(true);
    form->SelectedSlot = (slot + 2) % 4;
    characters.WalkersAsked.clear();
    bool seen = false;
    Later inside([&] {
      EXPECT_TRUE(form->Visible());
      EXPECT_TRUE(form->Modal());
      EXPECT_EQ(form->SelectedSlot, slot);
      EXPECT_TRUE(form->SlotEdit(slot)->Enabled());
      EXPECT_TRUE(WalkersRunning(false));
      ASSERT_EQ(characters.WalkersAsked.size(), 4u);
      for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(characters.WalkersAsked[i].first, orders[size_t(slot)][i]);
        EXPECT_TRUE(characters.WalkersAsked[i].second);  // each stopped after those before it
      }
      // A second request while it is shown: to the front, the slot kept, no error.
      form->Image3Click(form->Image3);
      ExceptionCatcher errors;
      form->TrayIcon1DblClick(form->TrayIcon1);
      form->OpenForSlot((slot + 1) % 4);
      EXPECT_EQ(form->SelectedSlot, (slot + 1) % 4);
      EXPECT_TRUE(errors.Messages.empty());
      EXPECT_EQ(characters.WalkersAsked.size(), 4u);
      seen = true;
      form->Image5Click(form->Image5);
    });
    form->OpenForSlot(slot);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(WalkersRunning(true));
  }
}

TEST_F(StatusFormTest, TheTrayOpensOnSlotOneWhateverWasSelected) {
  for (auto open : {&TStatusForm1::TrayIcon1DblClick, &TStatusForm1::S1Click}) {
    form->SelectedSlot = 3;
    int selected = -1;
    Later inside([&] {
      selected = form->SelectedSlot;
      form->Image5Click(form->Image5);
    });
    (form.get()->*open)(form->TrayIcon1);
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(WalkersRunning(true));
  }
  // The stored menu and handlers.
  std::vector<std::string> items;
  for (TMenuItem* item : form->PopupMenu1->Items())
    items.push_back(item->Name() + " " + item->Caption());
  EXPECT_EQ(items,
            (std::vector<std::string>{"S1 設定ウィンドウを開く(&S)...", "N3 -",
                                      "N2 インフォメーション(&I)...", "N4 -", "N1 終了する(&X)"}));
  EXPECT_TRUE(form->TrayIcon1->OnDblClick);
  EXPECT_TRUE(form->Image2->OnClick);
}

TEST_F(StatusFormTest, AFailedShowingStartsTheWalkersAgain) {
  for (Character* c : characters.Windows) c->Timer1->SetEnabled(true);
  form->OnShow = [](TObject*) { throw Exception("no window"); };
  EXPECT_THROW(form->OpenForSlot(2), Exception);
  EXPECT_TRUE(WalkersRunning(true));
  EXPECT_FALSE(form->Visible());
}

// What the information page's launch saw of the window and the beeps at that moment.
struct PageLaunch {
  HWND Owner;
  std::wstring Verb, Address;
  int BeepsBefore;
  POINT Place;
};
std::vector<PageLaunch> pageLaunches;
HINSTANCE WINAPI RecordPageLaunch(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR folder, INT show) {
  EXPECT_STREQ(parameters, L"");
  EXPECT_STREQ(folder, L"");
  EXPECT_EQ(show, SW_SHOW);
  RECT r;
  GetWindowRect(owner, &r);
  pageLaunches.push_back({owner, verb, file, beeps, {r.left, r.top}});
  return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(StatusFormTest, TheInformationPageFromTheMenuAndFromTheLogo) {
  pageLaunches.clear();
  {
    Replaced launch(ShellExecuteFunction, RecordPageLaunch);
    // Moved as the user's drag moves it: by the system, not through the form.
    SetWindowPos(form->Handle(), nullptr, 200, 150, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form->N2Click(nullptr);
    form->Image2Click(form->Image2);
  }
  const std::wstring address = Widen(InformationPageAddress(ParamStr(0)));
  EXPECT_NE(address.find(L"info.php?pf=w&sn=status_form_test"), std::wstring::npos) << address;
  ASSERT_EQ(pageLaunches.size(), 2u);
  // The menu item: no beep, no move.
  EXPECT_EQ(pageLaunches[0].Owner, form->Handle());
  EXPECT_EQ(pageLaunches[0].Verb, L"OPEN");
  EXPECT_EQ(pageLaunches[0].Address, address);
  EXPECT_EQ(pageLaunches[0].BeepsBefore, 0);
  EXPECT_EQ(pageLaunches[0].Place.x, 200);
  // The logo: the beep, the move back to 20, 20, then the page.
  EXPECT_EQ(pageLaunches[1].Address, address);
  EXPECT_EQ(pageLaunches[1].BeepsBefore, 1);
  EXPECT_EQ(pageLaunches[1].Place.x, 20);
  EXPECT_EQ(pageLaunches[1].Place.y, 20);
  EXPECT_EQ(beeps, 1);
}

TEST_F(StatusFormTest, TheExitItemClosesMubosWindowWithoutSaving) {
  form->SetLaunchFile(0, "C:\\lost.txt");
  bool closed = false;
  Later inside([&] {
    form->N1Click(nullptr);
    // Not the main window here: Close hides it; the program's own ends the program.
    closed = !characters.Windows[0]->Visible();
    EXPECT_FALSE(Exists(SettingsFilePath()));
    form->Image5Click(form->Image5);
  });
  form->OpenForSlot(0);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(characters.Windows[1]->Visible());
}
