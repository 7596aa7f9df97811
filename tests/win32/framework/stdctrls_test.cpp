// The controls of the settings window's kind on real windows: labels, pictures, shapes, edit
// fields, panels, image lists cut from a strip, and the tooltips of graphic controls.
#include "framework/stdctrls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/exception.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "support/test_support.h"

namespace {

constexpr COLORREF kGround = RGB(10, 20, 130);

class Window : public TForm {
 public:
  explicit Window(TComponent* owner) : TForm(owner) {
    SetBounds(300, 60, 240, 160);
    SetBorderStyle(TBorderStyle::bsNone);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetColor(static_cast<TColor>(kGround));
  }
  template <class T>
  T* Add(int left, int top, TWinControl* parent = nullptr) {
    auto* control = new T(this);
    control->SetParent(parent ? parent : this);
    control->SetLeft(left);
    control->SetTop(top);
    return control;
  }
};

std::unique_ptr<Window> ShownWindow() {
  Window* window = nullptr;
  CreateForm(Application, window);
  window->Show();
  return std::unique_ptr<Window>(window);
}

Snapshot Shown(TWinControl* window) {
  window->Repaint();
  Application->ProcessMessages();
  return TakeSnapshot(window->Handle());
}

// A picture of SIZE in 8 bits per pixel: left half red, right half green.
Image TwoColourPicture(int width, int height) {
  Image image = Image::Create(width, height, 8);
  image.Palette = {{0, 0, 255, 0}, {0, 255, 0, 0}};
  for (int y = 0; y < height; ++y)
    for (int x = width / 2; x < width; ++x) image.SetIndex(x, y, 1);
  return image;
}

TEST(Labels, SizeThemselvesToTheirTextAndDrawOnlyTheText) {
  auto window = ShownWindow();
  auto* label = window->Add<TLabel>(10, 10);
  label->SetTransparent(true);
  label->Font().SetName("ＭＳ Ｐゴシック");
  label->Font().SetHeight(-12);
  label->Font().SetColor(clWhite);
  label->SetCaption("Launch!");
  const int shortWidth = label->Width();
  EXPECT_GT(shortWidth, 20);
  EXPECT_GE(label->Height(), 12);
  label->SetCaption("Launch! Launch!");
  EXPECT_GT(label->Width(), shortWidth * 3 / 2);
  label->Font().SetStyle({.Bold = true});
  EXPECT_GT(label->Width(), shortWidth * 3 / 2);

  const Snapshot shot = Shown(window.get());
  int white = 0, ground = 0, other = 0;
  for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
      const COLORREF c = shot.At(x, y);
      (c == RGB(255, 255, 255) ? white : c == kGround ? ground : other)++;
    }
  EXPECT_GT(white, 20);      // the letters
  EXPECT_GT(ground, white);  // the window's colour between them: nothing filled
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Width(), shortWidth);  // kept
}

// A window that has never shown measures no text: its labels are measured when their size is
// first read, or as the window first shows.
TEST(Labels, OnAWindowNeverShownAreMeasuredWhenFirstAskedOrWhenItShows) {
  Window* created = nullptr;
  CreateForm(Application, created);
  std::unique_ptr<Window> window(created);
  auto label = [&](const char* caption) {
    auto* made = window->Add<TLabel>(10, 10);
    made->Font().SetName("ＭＳ Ｐゴシック");
    made->Font().SetHeight(-12);
    made->Font().SetColor(clWhite);
    made->SetTransparent(true);
    made->SetCaption(caption);
    return made;
  };
  const std::string wide = "Launch! Launch! Launch!";
  TLabel* asked = label("Launch!");
  TLabel* shown = label(wide.c_str());
  TLabel* sized = label(wide.c_str());
  sized->SetBounds(10, 40, 30, 10);
  EXPECT_FALSE(asked->Font().HandleAllocated());
  EXPECT_FALSE(shown->Font().HandleAllocated());
  EXPECT_EQ(asked->Width(), MeasureText(asked->Font(), "Launch!").cx);
  EXPECT_FALSE(shown->Font().HandleAllocated());

  window->Show();
  EXPECT_TRUE(shown->Font().HandleAllocated());
  const SIZE text = MeasureText(shown->Font(), wide);
  EXPECT_GT(text.cx, 65);  // wider than a label made without a text
  EXPECT_EQ(shown->Width(), text.cx);
  EXPECT_EQ(shown->Height(), text.cy);
  EXPECT_EQ(sized->Width(), 30);  // the size it was given, not its text's
  // The letters are drawn out to the measured width.
  const Snapshot shot = Shown(window.get());
  int white = 0;
  for (int y = 10; y < 10 + text.cy; ++y)
    for (int x = 10 + text.cx / 2; x < 10 + text.cx; ++x) white += shot.At(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 10);
  // Once shown, even hidden again, the window measures at once.
  window->Hide();
  EXPECT_TRUE(label("Launch!")->Font().HandleAllocated());
}

TEST(Images, TakeThePicturesSizeDrawItAndDrawIntoItThroughTheirCanvas) {
  auto window = ShownWindow();
  auto* image = window->Add<TImage>(20, 30);
  image->SetAutoSize(true);
  TBitmap picture;
  picture.SetImage(TwoColourPicture(40, 20));
  image->SetPicture(&picture);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 20);
  Snapshot shot = Shown(window.get());
  EXPECT_EQ(shot.At(20, 30), RGB(255, 0, 0));
  EXPECT_EQ(shot.At(59, 49), RGB(0, 255, 0));
  EXPECT_EQ(shot.At(60, 30), kGround);

  // A colour that the 8-bit palette lacks stays exact in the picture.
  TCanvas* canvas = image->Canvas();
  canvas->Brush.Color = RGB(1, 2, 3);
  canvas->FillRect({5, 5, 10, 10});
  EXPECT_EQ(image->Picture()->BitsPerPixel(), 24);
  EXPECT_EQ((image->Picture()->GetImage().Colour(7, 7)), (PaletteEntry{3, 2, 1, 0}));
  EXPECT_EQ((image->Picture()->GetImage().Colour(30, 7)), (PaletteEntry{0, 255, 0, 0}));
  image->Refresh();
  shot = TakeSnapshot(window->Handle());
  EXPECT_EQ(shot.At(27, 37), RGB(1, 2, 3));

  int clicks = 0;
  image->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, image);
    ++clicks;
  };
  ClickAt({window->Left() + 30, window->Top() + 40});
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
}

TEST(Shapes, FillTheirRectangleOutlinedOnlyWithAPen) {
  auto window = ShownWindow();
  auto* shape = window->Add<TShape>(10, 10);
  shape->SetBounds(10, 10, 30, 12);
  shape->SetBrushColor(RGB(40, 40, 40));
  shape->SetPenStyle(TPenStyle::psClear);
  Snapshot shot = Shown(window.get());
  EXPECT_EQ(shot.At(10, 10), RGB(40, 40, 40));
  EXPECT_EQ(shot.At(39, 21), RGB(40, 40, 40));
  EXPECT_EQ(shot.At(40, 21), kGround);
  EXPECT_EQ(shot.At(39, 22), kGround);
  shape->SetPenStyle(TPenStyle::psSolid);
  shape->SetPenColor(RGB(200, 0, 0));
  shot = Shown(window.get());
  EXPECT_EQ(shot.At(10, 10), RGB(200, 0, 0));
  EXPECT_EQ(shot.At(20, 15), RGB(40, 40, 40));
}

TEST(Edits, HoldWholeUnicodeTextInTheirColoursWithAFlatBorder) {
  auto window = ShownWindow();
  auto* edit = window->Add<TEdit>(10, 10);
  edit->SetAutoSize(false);
  edit->SetCtl3D(false);
  edit->SetReadOnly(true);
  edit->SetBounds(10, 10, 200, 18);
  edit->SetColor(RGB(255, 255, 202));
  const std::string text = "C:\\ファイル\\" + std::string(40000, 'a') + "\\😀.txt";
  edit->SetText(text);
  const HWND handle = edit->Handle();
  wchar_t name[16] = L"";
  GetClassNameW(handle, name, 16);
  EXPECT_STREQ(name, L"Edit");
  const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_FALSE(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(style & ES_MULTILINE);
  const int length = GetWindowTextLengthW(handle);
  std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(handle, shown.data(), length + 1);
  shown.resize(static_cast<size_t>(length));
  EXPECT_EQ(shown, Widen(text));
  EXPECT_EQ(edit->Height(), 18);

  edit->SetText("");
  const Snapshot shot = Shown(window.get());
  EXPECT_EQ(shot.At(10, 10), GetSysColor(COLOR_WINDOWFRAME));  // the flat border
  EXPECT_EQ(shot.At(209, 27), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(shot.At(11, 11), RGB(255, 255, 202));  // the background
  EXPECT_EQ(shot.At(208, 26), RGB(255, 255, 202));
  EXPECT_EQ(shot.At(9, 10), kGround);
  edit->SetText(text);

  // Disabled: greyed and out of reach of the keyboard and the mouse.
  edit->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(handle));
  ClickAt({window->Left() + 100, window->Top() + 19});
  Application->ProcessMessages();
  EXPECT_NE(GetFocus(), handle);
  edit->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(handle));

  // With AutoSize the height follows the font.
  edit->Font().SetHeight(-30);
  edit->SetAutoSize(true);
  EXPECT_GE(edit->Height(), 32);
}

TEST(Panels, FillTheirColourWithoutBevelAndShowWhatLiesOnThem) {
  auto window = ShownWindow();
  auto* panel = window->Add<TPanel>(100, 10);
  panel->SetBounds(100, 10, 24, 17);
  panel->SetBevelOuter(TBevelCut::bvNone);
  panel->SetColor(RGB(0, 90, 0));
  auto* image = window->Add<TImage>(0, 0, panel);
  image->SetAutoSize(true);
  TBitmap picture;
  picture.SetImage(TwoColourPicture(10, 10));
  image->SetPicture(&picture);
  Snapshot shot = Shown(window.get());
  Application->ProcessMessages();
  shot = TakeSnapshot(window->Handle());
  EXPECT_EQ(shot.At(100, 10), RGB(255, 0, 0));
  EXPECT_EQ(shot.At(109, 19), RGB(0, 255, 0));
  EXPECT_EQ(shot.At(123, 26), RGB(0, 90, 0));  // no bevel at the corner
  EXPECT_EQ(shot.At(124, 26), kGround);
  panel->SetBevelOuter(TBevelCut::bvRaised);
  shot = Shown(panel);
  shot = TakeSnapshot(window->Handle());
  EXPECT_NE(shot.At(123, 26), RGB(0, 90, 0));
}

TEST(ImageLists, AreCutFromAStripAndDrawOpaqueWithoutMask) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(2);
  Image strip = Image::Create(12, 2, 24);
  for (int x = 0; x < 12; ++x)
    for (int y = 0; y < 2; ++y) strip.SetColour(x, y, {uint8_t(x * 20), 0, uint8_t(y * 50), 0});
  list.AddStrip(strip);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_THROW(list.AddStrip(Image::Create(10, 2, 24)), EInvalidGraphic);
  EXPECT_THROW(list.AddStrip(Image::Create(12, 3, 24)), EInvalidGraphic);
  EXPECT_EQ(list.Count(), 3);

  list.SetMasked(false);
  TBitmap target;
  target.SetImage(Image::Create(8, 4, 24));
  list.Draw(target.Canvas(), 2, 1, 2);
  const Image& drawn = target.GetImage();
  EXPECT_EQ(drawn.Colour(2, 1), (PaletteEntry{160, 0, 0, 0}));
  EXPECT_EQ(drawn.Colour(5, 2), (PaletteEntry{220, 0, 50, 0}));
  EXPECT_EQ(drawn.Colour(1, 1), (PaletteEntry{0, 0, 0, 0}));
  EXPECT_THROW(list.Draw(target.Canvas(), 0, 0, 3), EListError);
  // Masked, the bottom-left pixel's colour lets the list's background colour show.
  list.SetMasked(true);
  list.SetBkColor(clWhite);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.GetImage().Colour(0, 1), (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(target.GetImage().Colour(1, 1), (PaletteEntry{20, 0, 50, 0}));
}

struct ToolSearch {
  HWND Window;
  UINT_PTR Id;
  std::wstring Text;
};

BOOL CALLBACK FindTool(HWND tip, LPARAM param) {
  auto& s = *reinterpret_cast<ToolSearch*>(param);
  wchar_t name[64] = L"";
  GetClassNameW(tip, name, 64);
  if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  wchar_t text[128] = L"";
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = s.Window;
  info.uId = s.Id;
  info.lpszText = text;
  if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return TRUE;
  SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
  s.Text = text;
  return FALSE;
}

// The text of the tool ID of WINDOW's tooltip ("" if there is none).
std::wstring ToolText(HWND window, UINT_PTR id) {
  ToolSearch search{window, id, L""};
  EnumThreadWindows(GetCurrentThreadId(), FindTool, reinterpret_cast<LPARAM>(&search));
  return search.Text;
}

TEST(Tooltips, GraphicControlsWithAHintGetOneOnTheirParent) {
  auto window = ShownWindow();
  auto* panel = window->Add<TPanel>(10, 10);
  auto* image = window->Add<TImage>(0, 0, panel);
  image->SetHint("閉じる");
  image->SetShowHint(true);
  const auto id = reinterpret_cast<UINT_PTR>(image);
  EXPECT_EQ(ToolText(panel->Handle(), id), L"閉じる");
  image->SetHint("キャラの選択");
  EXPECT_EQ(ToolText(panel->Handle(), id), L"キャラの選択");
  // The edit field's own tooltip sits beside them.
  auto* edit = window->Add<TEdit>(10, 80);
  edit->SetHint("ラウンチファイル");
  edit->SetShowHint(true);
  EXPECT_EQ(ToolText(edit->Handle(), reinterpret_cast<UINT_PTR>(edit->Handle())),
            L"ラウンチファイル");
  image->SetShowHint(false);
  EXPECT_EQ(ToolText(panel->Handle(), id), L"");
}

// A window that has not shown yet (the settings window from start-up until first opened) makes
// its tooltips, each a top-level window, only when it first shows; hiding it keeps them.
TEST(Tooltips, AreMadeWhenTheirWindowFirstShows) {
  Window* window = nullptr;
  CreateForm(Application, window);
  std::unique_ptr<Window> owner(window);
  auto* panel = window->Add<TPanel>(10, 10);
  auto* image = window->Add<TImage>(0, 0, panel);
  image->SetHint("閉じる");
  image->SetShowHint(true);
  auto* edit = window->Add<TEdit>(10, 80);
  edit->SetHint("ラウンチファイル");
  edit->SetShowHint(true);
  const auto imageId = reinterpret_cast<UINT_PTR>(image);
  const auto editId = reinterpret_cast<UINT_PTR>(edit->Handle());
  EXPECT_EQ(ToolText(panel->Handle(), imageId), L"");
  EXPECT_EQ(ToolText(edit->Handle(), editId), L"");
  window->Show();
  EXPECT_EQ(ToolText(panel->Handle(), imageId), L"閉じる");
  EXPECT_EQ(ToolText(edit->Handle(), editId), L"ラウンチファイル");
  window->Hide();
  image->SetHint("キャラの選択");
  EXPECT_EQ(ToolText(panel->Handle(), imageId), L"キャラの選択");
}

}  // namespace
