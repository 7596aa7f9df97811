#pragma once
// Owners of Windows handles and scoped guards. Every handle the program makes has one owner that
// frees it; every paired call (BeginPaint/EndPaint, SaveDC/RestoreDC, SetCapture/ReleaseCapture)
// is undone by a guard, so an exception between the two leaves nothing behind. A one-off undo is
// a ScopeExit (core/scope_exit.h).
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <utility>

// Move-only owner of a handle: FREE (a function object taking the handle) on release.
template <class Handle, class Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : handle_(h) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Gives the handle away, e.g. a region to SetWindowRgn, which then owns it.
  Handle Release() { return std::exchange(handle_, Handle{}); }
  void Reset(Handle h = Handle{}) {
    if (handle_ != Handle{} && handle_ != h) Free{}(handle_);
    handle_ = h;
  }

 private:
  Handle handle_{};
};

namespace handle_free {
struct GdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct Dc {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct Window {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct Menu {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
struct Icon {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct Drop {
  void operator()(HDROP h) const { DragFinish(h); }
};
struct Hook {
  void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};
struct File {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
}  // namespace handle_free

using RegionHandle = Owned<HRGN, handle_free::GdiObject>;
using BitmapHandle = Owned<HBITMAP, handle_free::GdiObject>;
using BrushHandle = Owned<HBRUSH, handle_free::GdiObject>;
using FontHandle = Owned<HFONT, handle_free::GdiObject>;
using MemoryDC = Owned<HDC, handle_free::Dc>;  // from CreateCompatibleDC
using WindowHandle = Owned<HWND, handle_free::Window>;
using MenuHandle = Owned<HMENU, handle_free::Menu>;
using IconHandle = Owned<HICON, handle_free::Icon>;
using DropHandle = Owned<HDROP, handle_free::Drop>;  // a WM_DROPFILES drop, finished on release
using HookHandle = Owned<HHOOK, handle_free::Hook>;  // from SetWindowsHookEx

using FileHandle = Owned<HANDLE, handle_free::File>;

// CreateFileW without security attributes or template; an empty owner when it fails (never
// INVALID_HANDLE_VALUE), GetLastError telling why.
inline FileHandle OpenFileHandle(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                                 DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  HANDLE file = CreateFileW(path, access, share, nullptr, disposition, flags, nullptr);
  return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Guards for one scope. None can be copied or moved.
class ScopeGuard {
 public:
  ScopeGuard() = default;
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;
};

// BeginPaint .. EndPaint of one WM_PAINT.
class PaintScope : ScopeGuard {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// The screen's device context (GetDC of no window) for the scope: for measuring, and as the
// pattern of compatible bitmaps.
class ScreenDC : ScopeGuard {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
};

// The device context's state (origin, clipping, selected objects, colours) as it was at the start
// of the scope.
class SavedDC : ScopeGuard {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// An object (bitmap, brush, font) selected into a device context for the scope.
class SelectObjectScope : ScopeGuard {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectObjectScope() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The mouse captured by a window for the scope; released at its end unless another window has
// taken it meanwhile.
class MouseCapture : ScopeGuard {
 public:
  explicit MouseCapture(HWND window) : window_(window) { SetCapture(window); }
  ~MouseCapture() {
    if (GetCapture() == window_) ReleaseCapture();
  }

 private:
  HWND window_;
};
