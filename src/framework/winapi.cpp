#include "framework/winapi.h"

#include <objbase.h>

#include "framework/core/sysutils.h"

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

void AcceptDroppedFiles(HWND window) {
  DragAcceptFiles(window, TRUE);
  // WM_COPYGLOBALDATA carries the drop's data between processes; it has no name in the headers.
  constexpr UINT kCopyGlobalData = 0x0049;
  for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), kCopyGlobalData})
    ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

void ShellOpen(HWND owner, const std::string& file) {
  ComApartment::Enter();
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteFunction(owner, L"OPEN", Widen(file).c_str(), L"", L"", SW_SHOW));
  // A Wine prefix knows few file types (a fresh one not even ".txt"): what it cannot open goes to
  // the Linux desktop's own opener, which Wine's winebrowser reaches (xdg-open).
  if (result == SE_ERR_NOASSOC && RunningUnderWine())
    ShellExecuteFunction(owner, L"OPEN", L"winebrowser.exe", Widen(QuoteArgument(file)).c_str(), L"",
                         SW_SHOW);
}

namespace {
ComApartment* livingApartment = nullptr;
}

ComApartment::ComApartment() { livingApartment = this; }

ComApartment::~ComApartment() {
  if (livingApartment == this) livingApartment = nullptr;
  if (!entered_) return;
  if (auto leave = SystemFunction<void(WINAPI*)()>(L"ole32.dll", "CoUninitialize")) leave();
}

void ComApartment::Enter() {
  if (!livingApartment || livingApartment->entered_) return;
  auto enter = SystemFunction<HRESULT(WINAPI*)(LPVOID, DWORD)>(L"ole32.dll", "CoInitializeEx");
  livingApartment->entered_ =
      enter && SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

std::vector<std::wstring> DroppedFiles(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // The length first, so that no path is cut.
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1)));
    // Wine reads a drop without items as one item without a name.
    if (!path.empty()) files.push_back(std::move(path));
  }
  return files;
}
