#pragma once
// TIniFile: a settings file in the platform's ini ("profile") format, reached by section and key
// through the platform's profile functions. Text is UTF-8 in memory.
//
// Values are never stored corrupted. The platform writes a new file in the system's ANSI code
// page; when a value does not fit that code page, the file is first rewritten as UTF-16LE with a
// byte-order mark (every other line kept; a new file is written and then put in place of the old
// one), which the profile functions then read and write as Unicode. Values with blanks or
// quotation marks at their ends are quoted so that they read back unchanged, values of any length
// are read whole, and a value holding a line break or a NUL is refused.
#include <string>
#include <vector>

class TIniFile {
 public:
  // Neither opens nor creates the file.
  explicit TIniFile(std::string fileName);
  // Releasing flushes the platform's cached data for the file when something was written since
  // the last UpdateFile. This flush cannot report a failure: call UpdateFile to have it checked.
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  // The value of KEY in SECTION; DEFAULT_VALUE only when the key is missing (an empty value is
  // returned as empty).
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // The value read as an integer, true when non-zero; DEFAULT_VALUE when the key is missing or its
  // value is no integer ("0x" counts as "$", the hexadecimal prefix).
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // Each raises EIniFileException ("<file name> に書き込めません") when the value cannot be
  // written, or cannot be stored faithfully (a line break or a NUL in it).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Flushes the platform's cached data to disk and checks that the file holds every value written
  // through this object since the last call; raises EIniFileException when it does not.
  void UpdateFile();

 private:
  struct WrittenValue {
    std::wstring Section, Key, Value;
  };

  [[noreturn]] void RaiseWriteError() const;
  bool ReadValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const;
  void SwitchToUnicode();

  std::string fileName_;
  std::wstring path_;
  std::vector<WrittenValue> unchecked_;
};
