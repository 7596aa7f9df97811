#include "framework/winapi.h"

#include <set>

void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon) {
  static std::set<std::wstring> registered;
  if (registered.contains(name)) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = icon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  if (!RegisterClassW(&wc)) return;  // creating a window of the class then reports the failure
  registered.insert(name);
}

namespace {
std::optional<bool> wineOverride;
}

bool RunningUnderWine() {
  if (wineOverride) return *wineOverride;
  // Wine's ntdll exports its version; Windows' does not.
  static const bool underWine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

void OverrideRunningUnderWine(std::optional<bool> answer) { wineOverride = answer; }

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                      nullptr, nullptr);
  return narrow;
}
