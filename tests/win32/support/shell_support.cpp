#include "support/shell_support.h"

// DROPFILES
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "framework/winapi.h"

namespace {

LaunchRecorder* recorder = nullptr;

HINSTANCE WINAPI RecordLaunch(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR folder, INT show) {
  // Null pointers show as a failed test, not a crash.
  auto text = [](LPCWSTR s) { return s ? std::wstring(s) : std::wstring(L"<null>"); };
  if (!recorder) return reinterpret_cast<HINSTANCE>(33);
  recorder->Launches.push_back({owner, text(verb), text(file), text(parameters), text(folder), show});
  return reinterpret_cast<HINSTANCE>(recorder->Answer);
}

int beeps = 0;
BOOL WINAPI CountBeep(UINT) {
  ++beeps;
  return TRUE;
}

void SetClassValue(const std::wstring& key, const std::wstring& value) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
}

}  // namespace

LaunchRecorder::LaunchRecorder() : replaced_(ShellExecuteFunction, RecordLaunch) {
  recorder = this;
}

LaunchRecorder::~LaunchRecorder() { recorder = nullptr; }

BeepCounter::BeepCounter() : replaced_(RefusalBeep, CountBeep) { beeps = 0; }

BeepCounter::~BeepCounter() = default;

int BeepCounter::Beeps() const { return beeps; }

HGLOBAL MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& p : paths) list += p + L'\0';
  // The list ends with an empty name: two zeros in a row, also for a list without names.
  list += paths.empty() ? std::wstring(2, L'\0') : std::wstring(1, L'\0');
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return memory;
}

bool DropReleased(HGLOBAL drop) { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; }

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

MarkerAssociation::MarkerAssociation() {
  SetClassValue(L".tivolutest", L"TivoluTest.File");
  SetClassValue(L"TivoluTest.File\\shell\\open\\command",
                L"\"" + ProgramFolder() + L"marker.exe\" \"%1\"");
}

MarkerAssociation::~MarkerAssociation() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tivolutest");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TivoluTest.File");
}
