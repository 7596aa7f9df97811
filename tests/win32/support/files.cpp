#include "support/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "framework/core/exception.h"

TempFolder::TempFolder(const std::string& name) {
  static std::atomic<int> counter;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring path = temp;
  path += Widen(name) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path);
  if (!CreateDirectoryW(path.c_str(), nullptr)) ADD_FAILURE() << "cannot create " << Narrow(path);
  path_ = Narrow(path) + "\\";
}

TempFolder::~TempFolder() { RemoveTree(Widen(path_.substr(0, path_.size() - 1))); }

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring child = found.cFileName;
      if (child != L"." && child != L"..") RemoveTree(path + L"\\" + child);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FileBytes(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot read " << path;
    return {};
  }
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty())
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

std::string AnsiBytes(const std::string& text) {
  const std::wstring wide = Widen(text);
  std::string bytes(wide.size() * 2, '\0');
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                    bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<size_t>(n));
  return bytes;
}

std::string Utf16Bytes(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : Widen(text)) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

unsigned ExpectedAnsiCodePage() {
  const char* value = std::getenv("TIVOLU_ANSI_CODE_PAGE");
  return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : 0;
}

void ExpectIniWriteError(const std::string& path, const std::function<void()>& write) {
  try {
    write();
    ADD_FAILURE() << "no error for " << path;
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), path + " に書き込めません");
  }
}
