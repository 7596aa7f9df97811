// The owner-drawn check box on real windows: the stored description of four boxes, the rules of
// assigning Checked, groups, the mouse and the keyboard, and what it paints.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <memory>
#include <string>

#include "controls/dxfcheckbox.h"
#include "controls/dxfres.h"
#include "framework/core/bmp_file.h"
#include "framework/core/exception.h"
#include "support/check_box_forms.h"
#include "support/test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The colour of the strip's pixel (x, y) of CELL.
COLORREF StripPixel(int cell, int x, int y) {
  return static_cast<COLORREF>(dxfRes::CBBmp().Canvas()->Pixel(18 * cell + x, y));
}

// Paints at once and reads what the box shows.
Snapshot Shown(TdxfCheckBox* box) {
  box->Invalidate();
  UpdateWindow(box->Handle());
  return TakeSnapshot(box->Handle());
}

// The centre of a control on the screen.
POINT Centre(TWinControl* control) {
  POINT p{control->Width() / 2, control->Height() / 2};
  ClientToScreen(control->Handle(), &p);
  return p;
}

// A 13 x 13 box shows the cell's columns 0-12 and rows 2-14, its own colour where the cell is
// magenta.
void ExpectCutCell(TdxfCheckBox* box, int cell) {
  const Snapshot shot = Shown(box);
  ASSERT_EQ(shot.Width, 13);
  ASSERT_EQ(shot.Height, 13);
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x) {
      const COLORREF strip = StripPixel(cell, x, y + 2);
      ASSERT_EQ(shot.At(x, y), strip == RGB(255, 0, 255) ? ColorToRGB(box->Color()) : strip)
          << "cell " << cell << " at " << x << "," << y;
    }
}

class CheckBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    TCheckBoxTestForm* made = nullptr;
    CreateForm(Application, made);
    form.reset(made);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([] { return true; });
  }
  int Clicks(int n) { return form->Clicks[form->Box(n)]; }
  // A box of its own on the form, with a caption and a font large enough to show its strokes.
  TdxfCheckBox* NewBox(const std::string& caption, int left, int top) {
    auto* box = new TdxfCheckBox(form.get());
    box->SetParent(form.get());
    box->Font().SetName("IPAGothic");
    box->Font().SetHeight(-24);
    box->SetCaption(caption);
    box->SetLeft(left);
    box->SetTop(top);
    return box;
  }

  std::unique_ptr<TCheckBoxTestForm> form;
};

TEST_F(CheckBoxTest, StoredBoxesLoadAsStoredAndShowTheTickedStyleOneBox) {
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("CheckBox" + std::to_string(n));
    TdxfCheckBox* box = form->Box(n);
    EXPECT_EQ(box->Width(), 13);  // stored before AutoSize false: the computed size is gone
    EXPECT_EQ(box->Height(), 13);
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(box->AutoSize());
    EXPECT_EQ(box->GroupIndex(), 0);
    EXPECT_TRUE(box->AllowAllUp());
    EXPECT_EQ(box->Style(), 1);
    EXPECT_EQ(box->Alignment(), TdxfCBAlignment::taRightJustify);
    EXPECT_EQ(box->Cursor(), crHandPoint);
    EXPECT_EQ(box->Hint(), "キャラの表示/非表示");
    EXPECT_TRUE(box->ShowHint());
    EXPECT_EQ(box->TabOrder(), n - 1);  // stored 4, 9, 10, 11
    wchar_t name[32];
    GetClassNameW(box->Handle(), name, 32);
    EXPECT_STREQ(name, L"TdxfCheckBox");
    EXPECT_EQ(GetParent(box->Handle()), form->Handle());
    EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetClassLongW(box->Handle(), GCL_STYLE) & CS_DBLCLKS);
    ExpectCutCell(box, 1);
  }
  EXPECT_TRUE(
      form->Clicks.empty());  // the handler is attached after Checked: loading fires nothing
  EXPECT_EQ(&dxfRes::CBBmp(), &dxfRes::CBBmp());
}

TEST_F(CheckBoxTest, AssigningCheckedFiresOnClickOnlyForANewValue) {
  TdxfCheckBox* box = form->Box(1);
  box->SetChecked(true);  // the value held: nothing
  EXPECT_EQ(Clicks(1), 0);
  box->SetChecked(false);
  EXPECT_EQ(Clicks(1), 1);
  EXPECT_FALSE(form->CheckedAtClick[box]);  // OnClick sees the new value
  ExpectCutCell(box, 0);
  box->OnClick = nullptr;  // without a handler only the picture changes
  box->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  ExpectCutCell(box, 1);
}

TEST_F(CheckBoxTest, GroupsKeepTheirCheckedBoxUnlessAllUpIsAllowed) {
  TdxfCheckBox* box = form->Box(1);
  box->SetGroupIndex(1);
  box->SetAllowAllUp(false);
  box->SetChecked(false);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(Clicks(1), 1);  // refused, but OnClick runs
  box->Click();             // the same for a click
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(Clicks(1), 2);
  box->SetAllowAllUp(true);
  box->Click();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(Clicks(1), 3);

  // A negative group: once checked, always checked, and the others hear nothing.
  TdxfCheckBox* negative = form->Box(3);
  TdxfCheckBox* other = form->Box(4);
  negative->SetChecked(false);
  negative->SetGroupIndex(-2);
  other->SetGroupIndex(-2);
  negative->SetChecked(true);
  EXPECT_TRUE(other->Checked());
  negative->SetChecked(false);
  negative->Click();
  EXPECT_TRUE(negative->Checked());
}

TEST_F(CheckBoxTest, CheckingOneBoxOfAGroupUnchecksTheOthersWithoutTheirOnClick) {
  for (int n = 1; n <= 3; ++n) form->Box(n)->SetGroupIndex(1);
  form->Box(4)->SetGroupIndex(2);
  TdxfCheckBox* second = form->Box(2);
  second->SetChecked(false);
  second->SetChecked(true);
  EXPECT_FALSE(form->Box(1)->Checked());
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(form->Box(3)->Checked());
  EXPECT_TRUE(form->Box(4)->Checked());  // another group
  EXPECT_EQ(Clicks(1) + Clicks(3) + Clicks(4), 0);
  EXPECT_EQ(Clicks(2), 2);
  ExpectCutCell(form->Box(3), 0);

  form->Box(3)->Click();  // a user's click does the same
  EXPECT_FALSE(second->Checked());
  EXPECT_TRUE(form->Box(3)->Checked());
  EXPECT_EQ(Clicks(2), 2);
  EXPECT_EQ(Clicks(3), 1);
}

TEST_F(CheckBoxTest, AClickTogglesOnceAndTakesTheFocusADoubleClickTogglesTwice) {
  TdxfCheckBox* box = form->Box(2);
  form->Box(1)->SetFocus();
  ClickAt(Centre(box));
  ASSERT_TRUE(PumpUntil([&] { return Clicks(2) >= 1; }));
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(GetFocus(), box->Handle());
  PumpUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(Clicks(2), 1);

  TdxfCheckBox* other = form->Box(3);
  int doubleClicks = 0;
  other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
    doubleClicks += (shift & ssDouble) != 0;
  };
  ClickAt(Centre(other), 2);
  ASSERT_TRUE(PumpUntil([&] { return Clicks(3) >= 2; }));
  PumpUntil([] { return false; }, std::chrono::milliseconds(300));  // the last release
  EXPECT_EQ(doubleClicks, 1);  // the second press came as a double click
  EXPECT_EQ(Clicks(3), 2);
  EXPECT_TRUE(other->Checked());  // twice toggled: as it was
  EXPECT_EQ(GetFocus(), other->Handle());
}

TEST_F(CheckBoxTest, TheSpaceBarTogglesOnReleaseAndTabMovesInTabOrder) {
  TdxfCheckBox* box = form->Box(1);
  int keysDown = 0;
  box->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keysDown += key == VK_SPACE; };
  box->SetFocus();
  SendKey(VK_SPACE, true);
  ASSERT_TRUE(PumpUntil([&] { return keysDown == 1; }));
  EXPECT_TRUE(box->Checked());  // pressed only: nothing yet
  SendKey(VK_SPACE, false);
  ASSERT_TRUE(PumpUntil([&] { return Clicks(1) == 1; }));
  EXPECT_FALSE(box->Checked());

  // A handler that takes the key away keeps the box as it is.
  box->OnKeyUp = [](TObject*, uint16_t& key, TShiftState) { key = 0; };
  SendKey(VK_SPACE, true);
  SendKey(VK_SPACE, false);
  PumpUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_FALSE(box->Checked());

  form->Box(3)->SetEnabled(false);
  SendKey(VK_TAB, true);
  SendKey(VK_TAB, false);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->Box(2)->Handle(); }));
  SendKey(VK_TAB, true);
  SendKey(VK_TAB, false);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->Box(4)->Handle(); }));  // 3 disabled
  SendKey(VK_TAB, true, {VK_SHIFT});
  SendKey(VK_TAB, false, {VK_SHIFT});
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->Box(2)->Handle(); }));
  EXPECT_EQ(Clicks(2) + Clicks(4), 0);
}

TEST_F(CheckBoxTest, DisabledBoxesShowTheGreyCellsAndAnEmbossedCaption) {
  TdxfCheckBox* box = form->Box(1);
  box->SetEnabled(false);
  ExpectCutCell(box, 3);
  box->SetChecked(false);
  ExpectCutCell(box, 2);

  // Enabled, the caption's strokes are black; disabled, the same strokes are grey, and white
  // shows one pixel down and right of them wherever the strokes leave it room.
  TdxfCheckBox* captioned = NewBox("HI", 40, 40);
  captioned->SetColor(RGB(0, 96, 160));
  captioned->Font().SetColor(clBlack);
  const Snapshot enabled = Shown(captioned);
  captioned->SetEnabled(false);
  const Snapshot disabled = Shown(captioned);
  ASSERT_EQ(enabled.Width, disabled.Width);
  int strokes = 0, shadows = 0;
  for (int y = 1; y < enabled.Height; ++y)
    for (int x = 19; x < enabled.Width; ++x) {  // right of the glyph
      if (enabled.At(x, y) == RGB(0, 0, 0)) {
        ++strokes;
        EXPECT_EQ(disabled.At(x, y), kGrey) << x << "," << y;
      } else if (enabled.At(x - 1, y - 1) == RGB(0, 0, 0) && enabled.At(x, y) == RGB(0, 96, 160)) {
        ++shadows;
        EXPECT_EQ(disabled.At(x, y), kWhite) << x << "," << y;
      }
    }
  EXPECT_GT(strokes, 20);
  EXPECT_GT(shadows, 10);
}

TEST_F(CheckBoxTest, FocusRectangleOnlyWithACaption) {
  TdxfCheckBox* box = form->Box(1);
  form->Box(2)->SetFocus();
  const Snapshot unfocused = Shown(box);
  box->SetFocus();
  ASSERT_EQ(GetFocus(), box->Handle());
  EXPECT_EQ(Shown(box), unfocused);

  TdxfCheckBox* captioned = NewBox("Focus", 40, 40);
  const Snapshot plain = Shown(captioned);
  captioned->SetFocus();
  EXPECT_NE(Shown(captioned), plain);  // the dotted rectangle
  box->SetFocus();
  EXPECT_EQ(Shown(captioned), plain);  // gone with the focus
}

TEST_F(CheckBoxTest, AutoSizeFitsTheGlyphAndALineOfText) {
  for (int height : {-12, -30}) {
    SCOPED_TRACE(height);
    TdxfCheckBox* box = NewBox("", 40, 40);
    box->Font().SetHeight(height);
    box->SetAutoSize(false);
    box->SetAutoSize(true);
    // Measured apart from the control.
    LOGFONTW lf{};
    lf.lfHeight = height;
    wcscpy(lf.lfFaceName, L"IPAGothic");
    FontHandle font(CreateFontIndirectW(&lf));
    MemoryDC dc(CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.Get(), font.Get());
    SIZE wg;
    GetTextExtentPoint32W(dc.Get(), L"Wg", 2, &wg);
    EXPECT_EQ(box->Width(), 22);
    EXPECT_EQ(box->Height(), std::max(18, static_cast<int>(wg.cy) + 2));
  }
}

TEST_F(CheckBoxTest, StyleIsKeptWithinTheStrip) {
  TdxfCheckBox* box = form->Box(1);
  box->SetStyle(0);
  EXPECT_EQ(box->Style(), 1);
  box->SetStyle(-5);
  EXPECT_EQ(box->Style(), 1);
  box->SetStyle(99);
  EXPECT_EQ(box->Style(), 14);
  ExpectCutCell(box, 13 * 4 + 1);
  box->SetStyle(7);
  box->SetChecked(false);
  ExpectCutCell(box, 6 * 4);
}

// Restores the shared strip when a test is done with an emptied one.
class StripBackup {
 public:
  StripBackup() { saved_.Assign(&dxfRes::CBBmp()); }
  ~StripBackup() { dxfRes::CBBmp().Assign(&saved_); }
  StripBackup(const StripBackup&) = delete;
  StripBackup& operator=(const StripBackup&) = delete;

 private:
  TBitmap saved_;
};

TEST_F(CheckBoxTest, WithoutAStripBoxesShowBackgroundAndCaptionOnly) {
  StripBackup backup;
  dxfRes::CBBmp().Assign(nullptr);
  TdxfCheckBox* box = form->Box(1);
  box->SetStyle(99);  // no styles to count: no division, only the lower limit
  EXPECT_EQ(box->Style(), 99);
  box->SetStyle(0);
  EXPECT_EQ(box->Style(), 1);
  const Snapshot shot = Shown(box);
  for (COLORREF c : shot.Pixels) ASSERT_EQ(c, kWhite);  // the form's colour, taken by the box

  TdxfCheckBox* captioned = NewBox("Text", 40, 40);
  captioned->Font().SetColor(clBlack);
  captioned->SetAutoSize(false);
  captioned->SetAutoSize(true);
  const Snapshot text = Shown(captioned);
  int black = 0;
  for (COLORREF c : text.Pixels) black += c == RGB(0, 0, 0);
  EXPECT_GT(black, 10);
  EXPECT_EQ(captioned->Width(), captioned->Canvas()->TextWidth("Text") + 4);  // glyph 0 x 0
}

// A picture with the key colour in its bottom-left pixel and a border, the rest in FACE.
Image Glyph(uint16_t bits, PaletteEntry key, PaletteEntry face) {
  Image image = Image::Create(7, 5, bits);
  const bool palette = bits <= 8;
  if (palette) image.Palette = {key, face};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool border = x == 0 || y == 0 || x == 6 || y == 4;
      if (palette)
        image.SetIndex(x, y, border ? 0 : 1);
      else
        image.SetColour(x, y, border ? key : face);
    }
  return image;
}

TEST_F(CheckBoxTest, OwnGlyphsOfEveryDepthAreCentredWithTheirKeyColourSeeThrough) {
  TdxfCheckBox* box = form->Box(1);
  box->SetColor(RGB(10, 20, 30));
  const PaletteEntry key{0, 255, 0, 0}, white{255, 255, 255, 0}, black{0, 0, 0, 0};
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(std::to_string(bits) + " bits per pixel");
    TBitmap checked, unchecked;
    // One bit per pixel has only black and white: black is the key there.
    checked.SetImage(bits == 1 ? Glyph(1, black, white) : Glyph(bits, key, {0, 0, 255, 0}));
    unchecked.SetImage(Glyph(bits == 1 ? 1 : 8, bits == 1 ? black : key, white));
    box->SetCheckedBmp(&checked);
    box->SetUnCheckedBmp(&unchecked);
    EXPECT_EQ(checked.BitsPerPixel(), bits);  // the caller's picture is only copied
    for (bool enabled : {true, false}) {
      box->SetEnabled(enabled);
      box->SetChecked(true);
      // Both glyphs 7 x 5: the glyph rectangle is 7 x 5, 4 rows down in the 13 x 13 box.
      Snapshot shot = Shown(box);
      EXPECT_EQ(shot.At(3, 6), bits == 1 ? kWhite : RGB(255, 0, 0));
      EXPECT_EQ(shot.At(0, 4), RGB(10, 20, 30));  // the picture's border: the key colour
      EXPECT_EQ(shot.At(6, 8), RGB(10, 20, 30));
      EXPECT_EQ(shot.At(10, 10), RGB(10, 20, 30));  // beside the glyph: the box's colour
      box->SetChecked(false);
      shot = Shown(box);
      EXPECT_EQ(shot.At(3, 6), kWhite);
      EXPECT_EQ(shot.At(5, 4), RGB(10, 20, 30));
    }
  }
}

TEST_F(CheckBoxTest, HugeGlyphsAndCaptionsPaintWhatIsShown) {
  ExceptionCatcher caught;
  Image picture = Image::Create(4000, 3000, 24);  // black
  picture.SetColour(0, 2999, {0, 255, 0, 0});     // the key colour, at the bottom left only
  TBitmap huge;
  huge.SetImage(std::move(picture));
  auto round = [&] {
    TdxfCheckBox* box = NewBox(std::string(100000, 'W'), 40, 40);
    box->SetAutoSize(false);
    box->SetAutoSize(true);
    EXPECT_GT(box->Width(), 100000);
    Snapshot shot = Shown(box);
    int black = 0;
    for (COLORREF c : shot.Pixels) black += c == RGB(0, 0, 0);
    EXPECT_GT(black, 100);  // the caption's start shows

    box->SetCaption("");
    box->SetChecked(true);
    box->SetCheckedBmp(&huge);
    EXPECT_EQ(box->Width(), 4004);
    EXPECT_EQ(box->Height(), 3000);
    shot = Shown(box);
    EXPECT_EQ(shot.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(shot.At(300, 300), RGB(0, 0, 0));
    delete box;
  };
  round();  // what the platform makes once for such windows is not counted
  const int before = GdiHeadroom();
  round();
  EXPECT_EQ(GdiHeadroom(), before);
  EXPECT_TRUE(caught.Messages.empty());
}

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage;
}

TEST_F(CheckBoxTest, TenThousandPaintsNeitherGrowMemoryNorLoseHandles) {
  auto paintAll = [&](int rounds) {
    for (int i = 0; i < rounds; ++i)
      for (int n = 1; n <= 4; ++n) {
        form->Box(n)->Invalidate();
        UpdateWindow(form->Box(n)->Handle());
      }
  };
  paintAll(50);  // what the first paints make once (surfaces, caches) is not counted
  const int headroom = GdiHeadroom();
  const size_t memory = PrivateBytes();
  paintAll(2500);
  EXPECT_EQ(GdiHeadroom(), headroom);
  EXPECT_LT(PrivateBytes(), memory + 512 * 1024);
}

struct TooltipSearch {
  HWND Tool, Found;
};

BOOL CALLBACK FindTooltip(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TooltipSearch*>(param);
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = search->Tool;
  info.uId = reinterpret_cast<UINT_PTR>(search->Tool);
  if (std::wstring(name) == TOOLTIPS_CLASSW &&
      SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
    search->Found = window;
  return search->Found == nullptr;
}

// The tooltip window that has TOOL's window as its tool.
HWND TooltipOf(HWND tool) {
  TooltipSearch search{tool, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TEST_F(CheckBoxTest, TheHintShowsAsATooltipInJapanese) {
  TdxfCheckBox* box = form->Box(2);
  const HWND tooltip = TooltipOf(box->Handle());
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[64] = L"";
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = box->Handle();
  info.uId = reinterpret_cast<UINT_PTR>(box->Handle());
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"キャラの表示/非表示");

  MovePointerTo({0, 0});
  MovePointerTo(Centre(box));
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }));

  box->SetShowHint(false);  // no hint: no tooltip
  EXPECT_EQ(TooltipOf(box->Handle()), nullptr);
}

}  // namespace
