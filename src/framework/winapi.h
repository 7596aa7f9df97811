#pragma once
// Windows headers and small owners for Windows handles, shared by the whole Windows side.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Registers a window class of this program once; later calls do nothing.
void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);

// True when the program runs under Wine rather than Windows (asked of ntdll once). A few platform
// calls cost or behave differently there; see the walkers' mouse capture.
bool RunningUnderWine();
// Tests replace the answer to take the Windows path under Wine; nullopt restores the real one.
void OverrideRunningUnderWine(std::optional<bool> answer);

// UTF-8 inside the program, UTF-16 at the wide API.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// Move-only owner of a GDI object (region, bitmap, brush, font): DeleteObject on release.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : handle_(h) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle away, e.g. to SetWindowRgn, which then owns it.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle h = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = nullptr;
};

using RegionHandle = GdiObject<HRGN>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;

// A memory device context, deleted with its owner.
class MemoryDC {
 public:
  MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects a GDI object into a device context for one scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectObjectScope() { SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};
