// Wine's floor for the program's visible work, in plain Win32 (bench/cpu.sh measures it beside
// the program): the four characters' windows, borderless topmost tool windows at their stored
// places and sizes, shaped and painted with the characters' own 48 frames and outlines (the
// pictures and blobs of build/art, carried as resources), then the program's icon in the
// notification area. The characters walk with their thresholds and speeds on one 50 ms timer
// that reads the pointer once a tick; the fourth chases one of the other three. A moving tick
// makes one region change, one move and one blit of the new frame; a standing tick touches
// nothing. Windows "Floor1" to "Floor4"; the program ends when one of them is closed.
#include <array>
#include <cstring>
#include <ctime>
#include <span>
#include <string>

#include "app/core/chase.h"
#include "app/core/walker.h"
#include "framework/winapi.h"  // with shellapi.h

namespace {

constexpr UINT kTickMs = 50;
constexpr int kCharacters = 4, kQuarn = 3;

// A character's window as stored: caption, place and size; the name its frames go by.
struct Look {
  const wchar_t* Caption;
  const wchar_t* Frames;
  POINT Start;
  SIZE Window;
  WalkerParams Params;
};
constexpr std::array<Look, kCharacters> kLooks{{
    {L"Floor1", L"MUBO", {480, -80}, {132, 90}, kMuboWalk},
    {L"Floor2", L"TESK", {550, -50}, {132, 74}, kTeskWalk},
    {L"Floor3", L"PLIM", {410, -50}, {132, 67}, kPlimWalk},
    {L"Floor4", L"QUARN", {0, 680}, {132, 69}, kQuarnWalk},
}};

// The build/art file <Name>/Rgn<N>.bmp or .rgn, as the RCDATA resource NAME_RGNN_BMP or _RGN.
std::span<const uint8_t> Resource(const std::wstring& name) {
  HRSRC info = FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = info ? LoadResource(nullptr, info) : nullptr;
  if (!data) return {};
  return {static_cast<const uint8_t*>(LockResource(data)), SizeofResource(nullptr, info)};
}

// A frame as the program holds it: its picture in a DIB section and its outline's region.
struct Frame {
  BitmapHandle Picture;
  SIZE Size{};
  RegionHandle Outline;

  bool Load(const Look& look, int number) {
    const std::wstring name = std::wstring(look.Frames) + L"_RGN" + std::to_wstring(number);
    const std::span<const uint8_t> file = Resource(name + L"_BMP");
    const std::span<const uint8_t> blob = Resource(name + L"_RGN");
    if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || blob.empty())
      return false;
    BITMAPFILEHEADER header;
    std::memcpy(&header, file.data(), sizeof header);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof header);
    if (info->bmiHeader.biBitCount != 8) return false;  // as every frame is
    Size = {info->bmiHeader.biWidth, info->bmiHeader.biHeight};
    const size_t rows = ((Size.cx + 3) & ~3) * static_cast<size_t>(Size.cy);
    if (header.bfOffBits + rows > file.size()) return false;
    void* bits = nullptr;
    Picture.Reset(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!Picture) return false;
    std::memcpy(bits, file.data() + header.bfOffBits, rows);
    Outline.Reset(ExtCreateRegion(nullptr, static_cast<DWORD>(blob.size()),
                                  reinterpret_cast<const RGNDATA*>(blob.data())));
    return static_cast<bool>(Outline);
  }
};

struct Walker {
  const Look* Style = nullptr;
  HWND Window = nullptr;
  Point Position;
  int32_t Phase = 0;
  std::array<Frame, 13> Frames;  // 1 to 12
  int Shown = 1;
  MemoryDC PictureDC{CreateCompatibleDC(nullptr)};

  // Frame NUMBER's outline becomes the window region (the window owns the copy it is given) and its
  // picture is painted: the new region alone repaints only what it uncovers.
  void Show(int number) {
    Shown = number;
    const RECT area{0, 0, Frames[number].Size.cx, Frames[number].Size.cy};
    InvalidateRect(Window, &area, FALSE);
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(region.Get(), Frames[number].Outline.Get(), nullptr, RGN_COPY);
    if (SetWindowRgn(Window, region.Get(), TRUE)) region.Release();
  }

  void Tick(Point reference) {
    Phase = NextPhase(Phase);
    const TickOutcome tick =
        OutcomeOf(PlanTick(reference, Position, Style->Params), Position, Phase, Style->Params.S);
    if (!tick.Frame) return;
    Show(*tick.Frame);
    Position = tick.Position;
    SetWindowPos(Window, nullptr, Position.X, Position.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    const Frame& frame = Frames[Shown];
    SelectObject(PictureDC.Get(), frame.Picture.Get());
    BitBlt(dc, 0, 0, frame.Size.cx, frame.Size.cy, PictureDC.Get(), 0, 0, SRCCOPY);
    EndPaint(Window, &paint);
  }
};

std::array<Walker, kCharacters> walkers;
int32_t chaseTarget = 0;

// One tick of the four, in the program's order: Quarn follows where its quarry has just gone.
void TickAll() {
  POINT cursor;
  const bool pointer = GetCursorPos(&cursor) != FALSE;
  for (int n = 0; n < kQuarn; ++n)
    if (pointer) walkers[n].Tick({cursor.x, cursor.y});
  walkers[kQuarn].Tick(walkers[chaseTarget].Position);
}

LRESULT CALLBACK WalkerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* walker = reinterpret_cast<Walker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!walker) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_TIMER:
      TickAll();
      return 0;
    case WM_PAINT:
      walker->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the blit covers the figure
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool Open(Walker& walker, int character, HINSTANCE instance, const wchar_t* windowClass) {
  const Look& look = kLooks[character];
  walker.Style = &look;
  walker.Position = {look.Start.x, look.Start.y};
  for (int n = 1; n <= 12; ++n)
    if (!walker.Frames[n].Load(look, n)) return false;
  walker.Window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass, look.Caption,
                                  WS_POPUP, look.Start.x, look.Start.y, look.Window.cx,
                                  look.Window.cy, nullptr, nullptr, instance, nullptr);
  if (!walker.Window || !walker.PictureDC) return false;
  SetWindowLongPtrW(walker.Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&walker));
  walker.Show(1);
  ShowWindow(walker.Window, SW_SHOWNOACTIVATE);
  return true;
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
  // The quarry the bench gives (the program's in the same run), else drawn as the program draws.
  wchar_t quarry[4] = L"";
  const DWORD given = GetEnvironmentVariableW(L"FLOOR_CHASE", quarry, 4);
  if (given == 1 && quarry[0] >= L'0' && quarry[0] <= L'2')
    chaseTarget = quarry[0] - L'0';
  else
    chaseTarget = ChooseChaseTarget(static_cast<uint64_t>(std::time(nullptr)));
  for (int n = 0; n < kCharacters; ++n)
    if (!Open(walkers[n], n, instance, windowClass)) return 1;
  if (!SetTimer(walkers[0].Window, 1, kTickMs, nullptr)) return 1;
  // The icon as the program registers it: the first version of the wide record.
  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  icon.hWnd = walkers[0].Window;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconW(instance, L"TRAYICON");
  lstrcpynW(icon.szTip, L"Floor", 64);
  Shell_NotifyIconW(NIM_ADD, &icon);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  for (Walker& walker : walkers) DestroyWindow(walker.Window);
  return 0;
}
