// Wine's floor for the walkers' work, in plain Win32 (bench/cpu.sh measures it beside the
// program): four borderless topmost windows shaped like small figures, each stepping toward the
// pointer on its own 50 ms timer with the characters' speeds and dead zones. Like a walker, a
// tick takes and releases the mouse capture, and each move on an axis changes the window region
// (three outlines cycling) and moves the window; WM_PAINT is one blit of the window's picture.
// Windows "Floor1" to "Floor4"; the program ends when one of them is closed.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/core/walker.h"
#include "framework/winapi.h"

namespace {

constexpr int kOutlines = 3;
constexpr UINT kTickMs = 50;

// What a window looks like and where it starts, as the program's characters do.
struct Figure {
  const wchar_t* Caption;
  POINT Start;
  SIZE Window, Picture;
  WalkerParams Params;
};
constexpr std::array<Figure, 4> kFigures{{
    {L"Floor1", {480, -80}, {132, 90}, {46, 56}, kMuboWalk},
    {L"Floor2", {550, -50}, {132, 74}, {24, 32}, kTeskWalk},
    {L"Floor3", {410, -50}, {132, 67}, {24, 32}, kPlimWalk},
    {L"Floor4", {0, 680}, {132, 69}, {24, 32}, kQuarnWalk},
}};

// An outline of 28 rectangles: an oval body over two legs. STEP (0 to 2) sets the legs' stride and
// sways the head, so that a change of outline uncovers about as many new rectangles of the window
// as the characters' walking frames do: under Wine each one costs an X Expose event and a server
// request. Returned as region data, from which each move makes its region at the cost of one
// ExtCreateRegion, as the program's frames do.
std::vector<uint8_t> FigureOutline(SIZE size, int step) {
  const int width = size.cx, height = size.cy, bodyHeight = height - height / 5;
  const double halfWidth = width / 2.0, halfHeight = bodyHeight / 2.0;
  RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
  auto add = [&outline](int left, int top, int right, int bottom) {
    RegionHandle part(CreateRectRgn(left, top, right, bottom));
    CombineRgn(outline.Get(), outline.Get(), part.Get(), RGN_OR);
  };
  // The body in 26 bands, every other one a pixel to the side, like fur, so that none merge. The
  // top ones are the head.
  constexpr int kBands = 26, kHeadBands = 8;
  for (int band = 0; band < kBands; ++band) {
    const int top = band * bodyHeight / kBands, bottom = (band + 1) * bodyHeight / kBands;
    const double dy = ((top + bottom) / 2.0 - halfHeight) / halfHeight;
    const int reach =
        std::max(1, static_cast<int>(std::lround((halfWidth - 1) * std::sqrt(1 - dy * dy))));
    const int sway = band < kHeadBands ? step - 1 : 0;
    const int middle = static_cast<int>(halfWidth) - band % 2 + sway;
    add(middle - reach, top, middle + reach, bottom);
  }
  const int legWidth = std::max(2, width / 8), shift = (step - 1) * legWidth / 2;
  add(width / 4 + shift, bodyHeight, width / 4 + shift + legWidth, height);
  add(width * 3 / 4 - shift - legWidth, bodyHeight, width * 3 / 4 - shift, height);
  std::vector<uint8_t> data(GetRegionData(outline.Get(), 0, nullptr));
  GetRegionData(outline.Get(), static_cast<DWORD>(data.size()),
                reinterpret_cast<RGNDATA*>(data.data()));
  return data;
}

// An 8-bit picture, the frames' format, of SIZE with a few stripes of colour.
BitmapHandle FigurePicture(SIZE size) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[4];
  } info{};
  info.Header = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 8, BI_RGB, 0, 0, 0, 4, 0};
  info.Colors[0] = {0x40, 0x40, 0x40, 0};
  info.Colors[1] = {0xd0, 0xa0, 0x80, 0};
  info.Colors[2] = {0x30, 0x60, 0xe0, 0};
  info.Colors[3] = {0xf0, 0xf0, 0xf0, 0};
  void* bits = nullptr;
  BitmapHandle picture(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return picture;
  const int stride = (size.cx + 3) & ~3;
  auto* row = static_cast<uint8_t*>(bits);
  for (int y = 0; y < size.cy; ++y, row += stride)
    for (int x = 0; x < size.cx; ++x) row[x] = static_cast<uint8_t>((x / 4 + y / 6) % 4);
  return picture;
}

struct Walker {
  const Figure* Look = nullptr;
  HWND Window = nullptr;
  Point Position;
  int Outline = 0;
  std::array<std::vector<uint8_t>, kOutlines> Outlines;
  BitmapHandle Picture;
  MemoryDC PictureDC{CreateCompatibleDC(nullptr)};  // holds Picture; deleted before it

  // The next outline becomes the window region; the window owns the new region.
  void NextOutline() {
    Outline = (Outline + 1) % kOutlines;
    const std::vector<uint8_t>& data = Outlines[Outline];
    RegionHandle region(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                        reinterpret_cast<const RGNDATA*>(data.data())));
    if (SetWindowRgn(Window, region.Get(), TRUE)) region.Release();
  }

  void Step(Direction direction) {
    NextOutline();
    Position = Moved(Position, direction, Look->Params.S);
    SetWindowPos(Window, nullptr, Position.X, Position.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void Tick() {
    // The program's walkers take and release the capture on every tick, and Wine's release
    // costs work of its own, so the floor does the same.
    SetCapture(Window);
    POINT cursor;
    GetCursorPos(&cursor);
    const TickMoves moves = PlanTick({cursor.x, cursor.y}, Position, Look->Params);
    if (moves.Vertical) Step(*moves.Vertical);
    if (moves.Horizontal) Step(*moves.Horizontal);
    ReleaseCapture();
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    BitBlt(dc, 0, 0, Look->Picture.cx, Look->Picture.cy, PictureDC.Get(), 0, 0, SRCCOPY);
    EndPaint(Window, &paint);
  }
};

LRESULT CALLBACK WalkerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* walker = reinterpret_cast<Walker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!walker) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_TIMER:
      walker->Tick();
      return 0;
    case WM_PAINT:
      walker->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the blit covers the figure; erasing would only flicker
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool Open(Walker& walker, const Figure& look, HINSTANCE instance, const wchar_t* windowClass) {
  walker.Look = &look;
  walker.Position = {look.Start.x, look.Start.y};
  for (int n = 0; n < kOutlines; ++n) walker.Outlines[n] = FigureOutline(look.Picture, n);
  walker.Picture = FigurePicture(look.Picture);
  if (!walker.Picture || !walker.PictureDC.Get()) return false;
  SelectObject(walker.PictureDC.Get(), walker.Picture.Get());
  walker.Window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass, look.Caption,
                                  WS_POPUP, look.Start.x, look.Start.y, look.Window.cx,
                                  look.Window.cy, nullptr, nullptr, instance, nullptr);
  if (!walker.Window) return false;
  SetWindowLongPtrW(walker.Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&walker));
  walker.NextOutline();
  ShowWindow(walker.Window, SW_SHOWNOACTIVATE);
  return SetTimer(walker.Window, 1, kTickMs, nullptr) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const wchar_t* windowClass = L"TivoluFloor";
  WNDCLASSW wc{};
  wc.lpfnWndProc = WalkerProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = windowClass;
  if (!RegisterClassW(&wc)) return 1;
  std::array<Walker, kFigures.size()> walkers;
  for (size_t n = 0; n < walkers.size(); ++n)
    if (!Open(walkers[n], kFigures[n], instance, windowClass)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  for (Walker& walker : walkers) DestroyWindow(walker.Window);
  return 0;
}
