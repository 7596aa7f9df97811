#include "framework/system.h"

#include "framework/winapi.h"
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace {

std::wstring ModuleFileName() {
  std::wstring path(64, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    // A name that fills the buffer may be cut short: ask again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ParamStr(int index) {
  if (index == 0) return Narrow(ModuleFileName());
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  std::string argument = index > 0 && index < count ? Narrow(arguments[index]) : std::string();
  LocalFree(arguments);
  return argument;
}

bool FolderTakesNewFiles(const std::string& folder) {
  const std::wstring prefix =
      Widen(folder) + L"tivolu-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const FileHandle file = OpenFileHandle(
        (prefix + std::to_wstring(attempt) + L".tmp").c_str(), GENERIC_WRITE, 0, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
    if (file) return true;
    // Only a name taken already is worth another try.
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}
