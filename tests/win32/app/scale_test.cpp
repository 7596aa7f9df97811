// The characters at the screen's whole-pixel scale. ctest runs this program at 96 DPI and, through
// tests/win32/support/at_dpi.sh (which says how a Wine prefix sets its DPI), at 144, 192 and 288;
// at 96 everything must be exactly what it is without scaling.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/core/screen_scale.h"
#include "framework/core/sysutils.h"
#include "framework/dpi.h"
#include "framework/system.h"
#include "region/core/region_data.h"
#include "settings/status_form.h"
#include "support/character_support.h"
#include "support/shell_support.h"
#include "support/test_support.h"
#include "tray/tray_icon.h"

namespace {

struct Stored {
  int Left, Top, Height, FrameWidth, FrameHeight;
  WalkerParams Walk;
};
const Stored kStored[4] = {{480, -80, 90, 46, 56, kMuboWalk},
                           {550, -50, 74, 24, 32, kTeskWalk},
                           {410, -50, 67, 24, 32, kPlimWalk},
                           {0, 680, 69, 24, 32, kQuarnWalk}};

using character_test::DropTimerMessages;
using character_test::PlaceAt;
using character_test::RectsOf;
using character_test::Tick;

std::vector<Rect> Canonical(std::vector<Rect> rects) { return Region::FromRects(rects).Rects(); }

// The stored outline of FRAME at scale 1, every edge times SCALE.
std::vector<Rect> ScaledOutline(TRgn* frame, int scale) {
  std::vector<Rect> out;
  const Region stored = Region::FromBlob(frame->WriteRgnData());
  for (Rect r : stored.Rects())
    out.push_back({r.Left * scale, r.Top * scale, r.Right * scale, r.Bottom * scale});
  return Canonical(out);
}

void Settle() {
  PumpUntil([] { return false; }, std::chrono::milliseconds(150));
}

class Scaled : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    DeleteFileW(Widen(SettingsFilePath()).c_str());
    // Start-up runs messages (the tray icon's activation): no walker takes a step meanwhile.
    HookHandle noTicks(
        SetWindowsHookExW(WH_GETMESSAGE, DropTimerMessages, nullptr, GetCurrentThreadId()));
    CreateForm(Application, Form1);
    for (TCharacterForm* f : All()) f->Timer1->SetEnabled(false);
  }
  static void TearDownTestSuite() { delete Form1; }
  static std::array<TCharacterForm*, 4> All() { return {Form1, Form2, Form3, Form4}; }
  static int K() { return ScaleOfDpi(SystemDpi()); }
  // The reference point of F's walker (Quarn's is the one it chases, made Tesk here).
  static void ReferenceAt(TCharacterForm* f, int x, int y) {
    if (f == Form4) {
      PlaceAt(Form2, x, y);
    } else {
      ASSERT_TRUE(SetCursorPos(x, y));
    }
  }

  // F's window, outline and pixels are those of its shown frame at scale K.
  static void ExpectDrawnAt(TCharacterForm* f, const Stored& s, int k) {
    RECT place;
    GetWindowRect(f->Handle(), &place);
    EXPECT_EQ(place.right - place.left, 132 * k);
    EXPECT_EQ(place.bottom - place.top, s.Height * k);
    const int shown = f->ShownFrame();
    ASSERT_GT(shown, 0);
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(f->Rgn[n]->Width(), s.FrameWidth * k);
      EXPECT_EQ(f->Rgn[n]->Height(), s.FrameHeight * k);
    }
    TRgn* frame = f->Rgn[shown];
    const std::vector<Rect> outline = ScaledOutline(frame, k);
    EXPECT_EQ(RectsOf(WindowRegionRects(f->Handle())), outline);
    // Each pixel of the picture a k × k block, nothing smoothed.
    Settle();
    const Snapshot shot = TakeSnapshot(f->Handle());
    const Image& picture = frame->RgnBitmap()->GetImage();
    int wrong = 0, seen = 0;
    for (const Rect& r : outline)
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
          if (WindowFromPoint({place.left + x, place.top + y}) != f->Handle()) continue;
          const PaletteEntry c = picture.Colour(x / k, y / k);
          ++seen;
          wrong += shot.At(x, y) != RGB(c.Red, c.Green, c.Blue);
        }
    EXPECT_GT(seen, 0);
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(Scaled, TheProgramRunsAtTheResolutionItWasStartedFor) {
  if (const char* dpi = std::getenv("TIVOLU_TEST_DPI")) {
    EXPECT_EQ(SystemDpi(), std::atoi(dpi));
  } else {
    EXPECT_EQ(SystemDpi(), 96);
  }
  for (TCharacterForm* f : All()) EXPECT_EQ(WindowDpi(f->Handle()), SystemDpi());
}

TEST_F(Scaled, EachCharacterStartsAtItsStoredPlaceAndFramesTimesTheScale) {
  const int k = K();
  for (int i = 0; i < 4; ++i) {
    TCharacterForm* f = All()[i];
    SCOPED_TRACE(f->Caption());
    EXPECT_EQ(f->Scale(), k);
    RECT place;
    GetWindowRect(f->Handle(), &place);
    EXPECT_EQ(place.left, kStored[i].Left * k);
    EXPECT_EQ(place.top, kStored[i].Top * k);
    EXPECT_EQ(f->ShownFrame(), 1);
  }
  // Placed on the screen, apart, each shows its first frame in blocks.
  for (int i = 0; i < 4; ++i) {
    TCharacterForm* f = All()[i];
    SCOPED_TRACE(f->Caption());
    PlaceAt(f, 50 + 300 * i, 200);
    ExpectDrawnAt(f, kStored[i], k);
  }
}

TEST_F(Scaled, WalkersStepAndStopInScreenPixelsTimesTheScale) {
  const int k = K();
  const int saved = Form1->ChaseTarget;
  Form1->ChaseTarget = 1;
  for (int i = 0; i < 4; ++i) {
    TCharacterForm* f = All()[i];
    SCOPED_TRACE(f->Caption());
    const WalkerParams p = kStored[i].Walk;
    for (TCharacterForm* other : All())
      if (other != f) PlaceAt(other, 1200, 100);
    const int between = (p.U + p.D) / 2 * k;
    // Exactly D × k to the right: no move. One more: a step of S × k, with a right frame.
    PlaceAt(f, 300, 300);
    ReferenceAt(f, 300 + p.D * k, 300 + between);
    Tick(f);
    EXPECT_EQ(f->Left(), 300);
    ReferenceAt(f, 300 + p.D * k + 1, 300 + between);
    Tick(f);
    EXPECT_EQ(f->Left(), 300 + p.S * k);
    if (f == Form2) {
      EXPECT_EQ(f->Left(), 300 + 3 * k);  // the rabbit's step
    }
    EXPECT_EQ(f->Top(), 300);
    // Exactly U × k above: no move; one less: a step up.
    PlaceAt(f, 300, 300);
    ReferenceAt(f, 300 + between, 300 + p.U * k);
    Tick(f);
    EXPECT_EQ(f->Top(), 300);
    ReferenceAt(f, 300 + between, 300 + p.U * k - 1);
    Tick(f);
    EXPECT_EQ(f->Top(), 300 - p.S * k);
    ExpectDrawnAt(f, kStored[i], k);
  }
  Form1->ChaseTarget = saved;
}

TEST_F(Scaled, AClickOnTheFigureReachesTheCharacterAndOneBesideItDoesNot) {
  const int k = K();
  PlaceAt(Form2, 400, 300);
  for (TCharacterForm* other : std::array<TCharacterForm*, 3>{Form1, Form3, Form4})
    PlaceAt(other, 1200, 100);
  Settle();
  const std::vector<RECT> rects = WindowRegionRects(Form2->Handle());
  ASSERT_FALSE(rects.empty());
  RECT widest{};
  for (const RECT& r : rects)
    if (r.right - r.left > widest.right - widest.left) widest = r;
  // The last pixel of the figure's widest row and the first one past it.
  const POINT inside{400 + widest.right - 1, 300 + widest.top};
  const POINT outside{400 + widest.right, 300 + widest.top};
  EXPECT_EQ(WindowFromPoint(inside), Form2->Handle());
  EXPECT_NE(WindowFromPoint(outside), Form2->Handle());
  EXPECT_EQ((widest.right - widest.left) % k, 0);
  BeepCounter beeps;
  ClickAt(inside);
  EXPECT_TRUE(PumpUntil([&] { return beeps.Beeps() == 1; }));
  ClickAt(outside);
  Settle();
  EXPECT_EQ(beeps.Beeps(), 1);
}

// Windows tells a per-monitor aware window that it reached a monitor of another resolution;
// Wine has one resolution for all monitors and never does, so the message is sent here.
TEST_F(Scaled, AWindowReachingAMonitorOfAnotherResolutionTakesItsScaleAndKeepsItsCorner) {
  const int k = K();
  TCharacterForm* f = Form2;
  const Stored& s = kStored[1];
  for (TCharacterForm* other : std::array<TCharacterForm*, 3>{Form1, Form3, Form4})
    PlaceAt(other, 1200, 100);
  PlaceAt(f, 200, 200);
  for (int scale : {k + 1, k}) {
    SCOPED_TRACE(scale);
    const int dpi = scale * kDesignDpi;
    RECT suggested{0, 0, 10, 10};  // not taken: the corner stays
    SendMessageW(f->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(f->Scale(), scale);
    RECT place;
    GetWindowRect(f->Handle(), &place);
    EXPECT_EQ(place.left, 200);
    EXPECT_EQ(place.top, 200);
    ExpectDrawnAt(f, s, scale);
    // The step follows the new scale.
    ASSERT_TRUE(SetCursorPos(200 + 100 * scale, 200));
    Tick(f);
    EXPECT_EQ(f->Left(), 200 + 3 * scale);
    PlaceAt(f, 200, 200);
  }
}

// The settings window: every place, size and font times the scale, every picture in blocks, the
// close button where it shows.
TEST_F(Scaled, TheSettingsWindowOpensAtItsScaledPlaceAndClosesByItsScaledButton) {
  const int k = K();
  TStatusForm1* form = StatusForm1;
  ASSERT_NE(form, nullptr);
  bool checked = false;
  Later look([&] {
    PumpUntil([] { return false; }, std::chrono::milliseconds(200));
    RECT place;
    GetWindowRect(form->Handle(), &place);
    EXPECT_EQ(place.left, 20 * k);
    EXPECT_EQ(place.top, 20 * k);
    EXPECT_EQ(place.right - place.left, 350 * k);
    EXPECT_EQ(place.bottom - place.top, 350 * k);
    EXPECT_EQ(form->Edit3->Left(), 104 * k);
    EXPECT_EQ(form->Edit3->Width(), 232 * k);
    EXPECT_EQ(form->Edit3->Font().Height(), -11 * k);
    EXPECT_EQ(form->CheckBox3->Top(), 177 * k);
    EXPECT_EQ(form->CheckBox3->Width(), 13 * k);
    const Snapshot shot = TakeSnapshot(form->Handle(), {4096, 4096});
    auto shows = [&](const Image& picture, int left, int top) {
      int wrong = 0;
      for (int y = 0; y < picture.Height * k; ++y)
        for (int x = 0; x < picture.Width * k; ++x) {
          const PaletteEntry c = picture.Colour(x / k, y / k);
          wrong += shot.At(left * k + x, top * k + y) != RGB(c.Red, c.Green, c.Blue);
        }
      return wrong;
    };
    EXPECT_EQ(shows(form->Image5->Picture()->GetImage(), 306, 2), 0);
    EXPECT_EQ(shows(form->Image2->Picture()->GetImage(), 4, 2), 0);
    // The selected slot's colour portrait, painted into the background picture.
    Image portrait = Image::Create(48, 48, 24);
    const Image& background = form->Image1->Picture()->GetImage();
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) portrait.SetColour(x, y, background.Colour(12 + x, 122 + y));
    EXPECT_EQ(shows(portrait, 12, 122), 0);
    checked = true;
    ClickAt({place.left + (306 + 18) * k, place.top + (2 + 8) * k});
  });
  Later stop([&] { form->Close(); }, 8000);
  form->OpenForSlot(1);
  EXPECT_TRUE(checked);
  EXPECT_FALSE(form->Visible());
  // Closed by its button: the walkers run again.
  for (TCharacterForm* f : All()) {
    EXPECT_TRUE(f->Timer1->Enabled());
    f->Timer1->SetEnabled(false);
  }
}

// The picture's colours as an icon shows them, rows top-down (0 where it cannot be read).
std::vector<COLORREF> IconColours(HICON icon, int& size) {
  ICONINFO info{};
  size = 0;
  if (!GetIconInfo(icon, &info)) return {};
  const BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  BITMAP b{};
  GetObjectW(colour.Get(), sizeof b, &b);
  size = b.bmWidth;
  BITMAPINFO header{};
  header.bmiHeader = {
      sizeof(BITMAPINFOHEADER), b.bmWidth, -b.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> bits(size_t(b.bmWidth) * b.bmHeight);
  const ScreenDC screen;
  GetDIBits(screen.Dc(), colour.Get(), 0, b.bmHeight, bits.data(), &header, DIB_RGB_COLORS);
  std::vector<COLORREF> out;
  for (uint32_t p : bits) out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return out;
}

HICON shellIcon = nullptr;
BOOL WINAPI RecordIcon(DWORD, PNOTIFYICONDATAW data) {
  shellIcon = CopyIcon(data->hIcon);
  return TRUE;
}

// The shell asks for a larger icon on a screen of more DPI: the tray picture, which has no image
// of that size, goes to it in whole-pixel blocks; at 96 DPI as it is.
TEST_F(Scaled, TheTrayIconGoesToTheShellInWholePixelBlocks) {
  const int k = K();
  TTrayIcon* tray = StatusForm1->TrayIcon1;
  int plainSize = 0;
  const std::vector<COLORREF> plain = IconColours(tray->Icon()->Handle(), plainSize);
  ASSERT_EQ(plainSize, 29);
  {
    Replaced<decltype(TTrayIcon::ShellNotifyIcon)> recording(TTrayIcon::ShellNotifyIcon,
                                                             RecordIcon);
    const std::string hint = tray->Hint();
    tray->SetHint(hint + " ");
    tray->SetHint(hint);
  }
  ASSERT_NE(shellIcon, nullptr);
  int size = 0;
  const std::vector<COLORREF> shown = IconColours(shellIcon, size);
  DestroyIcon(shellIcon);
  ASSERT_EQ(size, 29 * k);
  int wrong = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      wrong += shown[size_t(y) * size + x] != plain[size_t(y / k) * 29 + x / k];
  EXPECT_EQ(wrong, 0);
}

}  // namespace
