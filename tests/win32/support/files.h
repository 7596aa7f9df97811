#pragma once
// Real files for the Windows tests: private folders that are removed afterwards, raw bytes, and
// the code page a test program was started for.
#include <functional>
#include <string>

#include "framework/winapi.h"

// A new empty folder under the temporary folder, named with NAME and unique to this process;
// removed with everything in it (read-only files included) when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name = "tivolu");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // UTF-8, ending with a backslash.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void RemoveTree(const std::wstring& path);
bool Exists(const std::string& path);
// The file's bytes; "" and a test failure when it cannot be read.
std::string FileBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// TEXT in the system's ANSI code page.
std::string AnsiBytes(const std::string& text);
// TEXT as UTF-16LE with its byte-order mark.
std::string Utf16Bytes(const std::string& text);

// The ANSI code page this run is for (ctest sets TIVOLU_ANSI_CODE_PAGE), 0 when none is set.
unsigned ExpectedAnsiCodePage();

// Runs WRITE, which must raise the ini-file error naming PATH.
void ExpectIniWriteError(const std::string& path, const std::function<void()>& write);

// A path in Japanese, which code page 932 holds and 1252 does not.
inline const char* const kJapanesePath = "C:\\ユーザー\\表示ソフト\\起動.txt";
// A path with characters that no ANSI code page holds (an emoji, a rare CJK character).
inline const char* const kOutsideEveryCodePage = "D:\\写真\\\U0001F600\\\U00020BB7野家.jpg";
