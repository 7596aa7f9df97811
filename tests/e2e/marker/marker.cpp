// Stands in for the program a file type is associated with, so tests can see what a launch
// passed: appends its arguments, one per line in UTF-8, to the file named by the environment
// variable TIVOLU_MARKER_LOG (a Windows path), then ends.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t logPath[32768];
  if (!GetEnvironmentVariableW(L"TIVOLU_MARKER_LOG", logPath, 32768)) return 1;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 1;
  std::string lines;
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments[i];
    const int n = WideCharToMultiByte(CP_UTF8, 0, argument.data(), int(argument.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argument.data(), int(argument.size()), utf8.data(), n, nullptr,
                        nullptr);
    lines += utf8 + "\n";
  }
  LocalFree(arguments);
  HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(log, lines.data(), DWORD(lines.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}
