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
