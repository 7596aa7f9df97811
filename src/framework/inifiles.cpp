#include "framework/inifiles.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "framework/core/exception.h"
#include "framework/core/inifile_values.h"
#include "framework/core/sysutils.h"
#include "framework/system.h"
#include "framework/winapi.h"

namespace {

FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
  return OpenFileHandle(path.c_str(), access, FILE_SHARE_READ, disposition);
}

// The profile functions take paths of fewer than MAX_PATH characters (Wine copies a longer one
// into a fixed buffer, then reads nothing and reports writes that went nowhere as done), so a
// longer path is given to them with its folder in the short form. One that is still too long is
// not given to them at all: reading it gives the defaults and writing it fails.
bool Reachable(const std::wstring& path) { return path.size() < MAX_PATH; }

std::wstring ProfilePath(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  if (path.size() < MAX_PATH || separator == std::wstring::npos) return path;
  const bool drivePath = path.size() > 2 && path[1] == L':';
  const std::wstring prefix = drivePath ? L"\\\\?\\" : L"";
  const std::wstring folder = prefix + path.substr(0, separator);
  std::wstring shortFolder(path.size() + 1, L'\0');
  const DWORD length =
      GetShortPathNameW(folder.c_str(), shortFolder.data(), static_cast<DWORD>(shortFolder.size()));
  if (length == 0 || length >= shortFolder.size()) return path;
  shortFolder.resize(length);
  if (shortFolder.starts_with(prefix)) shortFolder.erase(0, prefix.size());
  return shortFolder + path.substr(separator);
}

// GetPrivateProfileStringW for one key, into a buffer that grows until the value fits.
std::wstring ProfileString(const std::wstring& section, const std::wstring& key,
                           const wchar_t* defaultValue, const std::wstring& path) {
  std::wstring buffer(256, L'\0');
  for (;;) {
    const DWORD length =
        GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue, buffer.data(),
                                 static_cast<DWORD>(buffer.size()), path.c_str());
    // A value cut short to fit comes back with size - 1 characters.
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
  return text;
}

std::string ToCodePage(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// Whether TEXT survives the round trip through the ANSI code page, in which the platform writes
// a file that has no byte-order mark.
bool FitsAnsiCodePage(std::wstring_view text) {
  return FromCodePage(CP_ACP, ToCodePage(CP_ACP, text)) == text;
}

constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);
constexpr std::string_view kUtf16BeMark("\xFE\xFF", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

// The text of a profile file in whichever form it is stored: UTF-8 or UTF-16 after their
// byte-order marks, the ANSI code page otherwise.
std::wstring DecodeProfileFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return FromCodePage(CP_UTF8, bytes.substr(kUtf8Mark.size()));
  const bool littleEndian = bytes.starts_with(kUtf16LeMark);
  if (!littleEndian && !bytes.starts_with(kUtf16BeMark)) return FromCodePage(CP_ACP, bytes);
  std::wstring text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto low = static_cast<uint8_t>(bytes[littleEndian ? i : i + 1]);
    const auto high = static_cast<uint8_t>(bytes[littleEndian ? i + 1 : i]);
    text.push_back(static_cast<wchar_t>(high << 8 | low));
  }
  return text;
}

// Reads the whole file, opened for writing too so that a file we may not change is found before
// anything is done; nullopt when it does not exist.
std::optional<std::string> ReadFileForRewrite(const std::wstring& path, bool& failed) {
  failed = false;
  FileHandle file = OpenFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
  if (!file) {
    failed = GetLastError() != ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    failed = true;
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    failed = true;
    return std::nullopt;
  }
  return bytes;
}

// Writes BYTES as the whole file: a new one (CREATE_ALWAYS) or an existing one cut to them
// (TRUNCATE_EXISTING).
bool WriteWholeFile(const std::wstring& path, std::string_view bytes, DWORD disposition) {
  FileHandle file = OpenFile(path, GENERIC_WRITE, disposition);
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file.Get());
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes what the platform holds for the file to disk and drops it from the platform's cache,
// so that the next access reads the file anew. Wine reports failure here whatever happens, so
// the result says nothing.
void FlushProfile(const std::wstring& path) {
  if (Reachable(path)) WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace

TIniFile::TIniFile(std::string fileName)
    : fileName_(std::move(fileName)), path_(ProfilePath(Widen(fileName_))) {}

TIniFile::~TIniFile() {
  if (!unchecked_.empty()) FlushProfile(path_);
}

void TIniFile::RaiseWriteError() const { throw EIniFileException(fileName_ + " に書き込めません"); }

// A missing key gives the default; telling it from a value equal to the default takes a second
// read with another default.
bool TIniFile::ReadValue(const std::wstring& section, const std::wstring& key,
                         std::wstring& value) const {
  if (!Reachable(path_)) return false;
  value = ProfileString(section, key, L"\x01", path_);
  return value != L"\x01" || ProfileString(section, key, L"\x02", path_) != L"\x02";
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  std::wstring value;
  return ReadValue(Widen(section), Widen(key), value) ? Narrow(value) : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return IniBoolValue(ReadString(section, key, ""), defaultValue);
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  // Wine run by root writes a file with the read-only attribute; Windows refuses, and so do we.
  const DWORD attributes = GetFileAttributesW(path_.c_str());
  const bool readOnly =
      attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_READONLY;
  if (!Reachable(path_) || readOnly || !IsStorableIniValue(value)) RaiseWriteError();
  const std::wstring wideSection = Widen(section), wideKey = Widen(key);
  const std::wstring stored = Widen(QuoteIniValue(value));
  if (!FitsAnsiCodePage(wideSection + wideKey + stored)) SwitchToUnicode();
  // Wine reports success when it cannot create a new file, keeping the value in its cache only.
  if (!WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), stored.c_str(),
                                  path_.c_str()) ||
      !FileExists(path_)) {
    FlushProfile(path_);
    RaiseWriteError();
  }
  std::erase_if(unchecked_, [&](const WrittenValue& written) {
    return written.Section == wideSection && written.Key == wideKey;
  });
  unchecked_.push_back({wideSection, wideKey, Widen(value)});
}

void TIniFile::UpdateFile() {
  FlushProfile(path_);
  const std::vector<WrittenValue> written = std::exchange(unchecked_, {});
  for (const WrittenValue& value : written) {
    std::wstring stored;
    if (!ReadValue(value.Section, value.Key, stored) || stored != value.Value) RaiseWriteError();
  }
}

// Rewrites the file as UTF-16LE with its byte-order mark, unless it is so already: the text goes
// to a new file beside it, which then takes the old one's place, so an interrupted rewrite leaves
// the old file as it was. A folder that takes no new file may still let its file change (a
// share that grants the one file): then the file is rewritten in place.
void TIniFile::SwitchToUnicode() {
  FlushProfile(path_);
  bool failed = false;
  const std::optional<std::string> bytes = ReadFileForRewrite(path_, failed);
  if (failed) RaiseWriteError();
  if (bytes && bytes->starts_with(kUtf16LeMark)) return;
  const std::wstring text = bytes ? DecodeProfileFile(*bytes) : std::wstring();
  std::string unicode(kUtf16LeMark);
  for (wchar_t c : text) {
    unicode.push_back(static_cast<char>(c & 0xFF));
    unicode.push_back(static_cast<char>(c >> 8 & 0xFF));
  }
  const std::wstring newPath = path_ + L".new";
  const DWORD attributes = bytes ? GetFileAttributesW(path_.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (WriteWholeFile(newPath, unicode, CREATE_ALWAYS) &&
      (attributes == INVALID_FILE_ATTRIBUTES || SetFileAttributesW(newPath.c_str(), attributes)) &&
      MoveFileExW(newPath.c_str(), path_.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  DeleteFileW(newPath.c_str());
  // Where the folder could take the new file, something else went wrong: the old file stays.
  if (!bytes || FolderTakesNewFiles(ExtractFilePath(Narrow(path_))) ||
      !WriteWholeFile(path_, unicode, TRUNCATE_EXISTING))
    RaiseWriteError();
}
