// The read and write passes of the settings file "tivolu.ini" against real files, in the code
// page this run was started for (932 or 1252; ctest runs the program once for each): the order of
// the passes, defaults, what a saved file holds, lines of an existing file kept, Japanese and
// other paths kept whole, a failed save ending at its key, the file's place beside a copy of the
// program under another name, and 300 damaged files read without harm.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "framework/core/exception.h"
#include "framework/core/sysutils.h"
#include "framework/inifiles.h"
#include "framework/system.h"
#include "support/files.h"

namespace {

// The settings window's check boxes and edit fields, with a log of what the passes did.
class FakeControls : public SettingsControls {
 public:
  FakeControls(bool shown, const std::string& file) {
    for (int slot = 0; slot < kSlotCount; ++slot) ShownState[slot] = shown, Files[slot] = file;
  }
  bool Shown(int slot) const override {
    Log.push_back("Shown " + std::to_string(slot));
    if (OnShownAsked) OnShownAsked(slot);
    return ShownState[slot];
  }
  void SetShown(int slot, bool shown) override {
    Log.push_back("SetShown " + std::to_string(slot) + " " + std::to_string(shown));
    ShownState[slot] = shown;
  }
  std::string LaunchFile(int slot) const override {
    Log.push_back("LaunchFile " + std::to_string(slot));
    return Files[slot];
  }
  void SetLaunchFile(int slot, const std::string& fileName) override {
    Log.push_back("SetLaunchFile " + std::to_string(slot) + " " + fileName);
    Files[slot] = fileName;
  }

  bool ShownState[kSlotCount];
  std::string Files[kSlotCount];
  mutable std::vector<std::string> Log;
  std::function<void(int)> OnShownAsked;
};

// The file's lines, blank ones left out (Wine's profile writer drops them; Windows' keeps them).
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(line.ends_with("\r")) << "line without CR: " << line;
    if (line.ends_with("\r")) line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

FakeControls ReadBack(const std::string& path) {
  FakeControls controls(true, "default");
  ReadSettingsFile(path, controls);
  return controls;
}

TEST(SettingsFile, RunsInTheCodePageItWasStartedFor) {
  ASSERT_NE(ExpectedAnsiCodePage(), 0u) << "TIVOLU_ANSI_CODE_PAGE is not set: run through ctest";
  EXPECT_EQ(GetACP(), ExpectedAnsiCodePage());
}

TEST(SettingsFile, WithoutAFileTheReadPassKeepsEveryDefaultInItsOrderAndCreatesNothing) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  FakeControls controls(true, "");
  controls.ShownState[1] = false;
  controls.Files[2] = "C:\\kept.txt";
  ReadSettingsFile(path, controls);
  EXPECT_EQ(controls.Log,
            (std::vector<std::string>{
                "Shown 0", "SetShown 0 1", "Shown 1", "SetShown 1 0", "Shown 2", "SetShown 2 1",
                "Shown 3", "SetShown 3 1", "LaunchFile 0", "SetLaunchFile 0 ", "LaunchFile 1",
                "SetLaunchFile 1 ", "LaunchFile 2", "SetLaunchFile 2 C:\\kept.txt", "LaunchFile 3",
                "SetLaunchFile 3 "}));
  EXPECT_FALSE(Exists(path));
}

TEST(SettingsFile, TheReadPassAppliesEachSavedValue) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteBytes(path, "[Execute]\r\nChar01=\r\nChar03=C:\\c.txt\r\nChar04=" + AnsiBytes("C:\\表.txt") +
                       "\r\n[Visible]\r\nChar03=0\r\nChar04=0x0\r\n");
  FakeControls controls(true, "old");
  ReadSettingsFile(path, controls);
  EXPECT_TRUE(controls.ShownState[0]);
  EXPECT_TRUE(controls.ShownState[1]);
  EXPECT_FALSE(controls.ShownState[2]);
  EXPECT_FALSE(controls.ShownState[3]);
  EXPECT_EQ(controls.Files[0], "") << "present and empty";
  EXPECT_EQ(controls.Files[1], "old") << "absent: the current text stays";
  EXPECT_EQ(controls.Files[2], "C:\\c.txt");
  if (GetACP() == 932) {
    EXPECT_EQ(controls.Files[3], "C:\\表.txt");
  }
}

TEST(SettingsFile, ANewFileHoldsVisibleThenExecuteWithEveryKeyInOrder) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  FakeControls controls(true, "");
  controls.ShownState[2] = false;
  controls.Files[1] = "C:\\My Files\\b.txt";
  WriteSettingsFile(path, controls);
  EXPECT_EQ(Lines(FileBytes(path)),
            (std::vector<std::string>{"[Visible]", "Char01=1", "Char02=1", "Char03=0", "Char04=1",
                                      "[Execute]", "Char01=", "Char02=C:\\My Files\\b.txt",
                                      "Char03=", "Char04="}));
  EXPECT_FALSE(FileBytes(path).starts_with("\xFF\xFE"));
  FakeControls back = ReadBack(path);
  EXPECT_FALSE(back.ShownState[2]);
  EXPECT_EQ(back.Files[0], "") << "an empty value is read as empty, not as the default";
  EXPECT_EQ(back.Files[1], "C:\\My Files\\b.txt");
}

TEST(SettingsFile, ASaveKeepsTheOtherSectionsKeysAndCommentsOfAnExistingFile) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteBytes(path,
             "; Launcher settings\r\n[Window]\r\nLeft=10\r\n\r\n[Execute]\r\nChar02=C:\\old.txt\r\n"
             "; keep me\r\nOther=1\r\n\r\n[Visible]\r\nChar04=0\r\n");
  FakeControls controls(true, "C:\\new.txt");
  WriteSettingsFile(path, controls);
  EXPECT_EQ(
      Lines(FileBytes(path)),
      (std::vector<std::string>{"; Launcher settings", "[Window]", "Left=10", "[Execute]",
                                "Char02=C:\\new.txt", "; keep me", "Other=1", "Char01=C:\\new.txt",
                                "Char03=C:\\new.txt", "Char04=C:\\new.txt", "[Visible]", "Char04=1",
                                "Char01=1", "Char02=1", "Char03=1"}));
}

TEST(SettingsFile, PathsComeBackWholeInEitherCodePage) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  FakeControls controls(false, "");
  controls.ShownState[0] = true;
  controls.Files[0] = kJapanesePath;
  controls.Files[1] = "C:\\" + std::string(993, 'x') + ".txt";
  controls.Files[2] = " C:\\blank at both ends.txt ";
  WriteSettingsFile(path, controls);
  ASSERT_EQ(controls.Files[1].size(), 1000u);
  const bool unicode = FileBytes(path).starts_with("\xFF\xFE");
  EXPECT_EQ(unicode, GetACP() != 932) << "Unicode only where the code page lacks the characters";
  if (!unicode) {
    EXPECT_NE(FileBytes(path).find(AnsiBytes(kJapanesePath)), std::string::npos);
  }
  FakeControls back = ReadBack(path);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(back.Files[slot], controls.Files[slot]) << slot;
    EXPECT_EQ(back.ShownState[slot], controls.ShownState[slot]) << slot;
  }

  controls.Files[3] = kOutsideEveryCodePage;
  WriteSettingsFile(path, controls);
  EXPECT_TRUE(FileBytes(path).starts_with("\xFF\xFE"));
  back = ReadBack(path);
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(back.Files[slot], controls.Files[slot]);
}

TEST(SettingsFile, AReadOnlyFileEndsTheSaveAtTheKeyThatFails) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteSettingsFile(path, FakeControls(true, "C:\\old.txt"));
  FakeControls controls(false, "C:\\new.txt");
  // The file turns read-only just before the third "Visible" key.
  controls.OnShownAsked = [&](int slot) {
    if (slot == 2) SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  };
  ExpectIniWriteError(path, [&] { WriteSettingsFile(path, controls); });
  FakeControls back = ReadBack(path);
  EXPECT_FALSE(back.ShownState[0]);
  EXPECT_FALSE(back.ShownState[1]);
  EXPECT_TRUE(back.ShownState[2]);
  EXPECT_TRUE(back.ShownState[3]);
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(back.Files[slot], "C:\\old.txt");
}

TEST(SettingsFile, AFolderThatCannotBeWrittenToFailsTheSaveAtItsFirstKey) {
  TempFolder folder;
  // Run as root, Wine ignores the read-only attribute and the permissions of a folder; what it
  // cannot write into is a folder that is not there.
  const std::string path = folder.Path() + "removed\\tivolu.ini";
  ExpectIniWriteError(path, [&] { WriteSettingsFile(path, FakeControls(false, "C:\\a.txt")); });
  EXPECT_FALSE(Exists(folder.Path() + "removed"));
  FakeControls back = ReadBack(path);
  EXPECT_TRUE(back.ShownState[0]) << "nothing was kept for the file";
}

// --- The file's place: a copy of this program under another name, in a folder with a long
// non-ASCII name, run as a child that saves and reads its settings. ---

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t value[4096];
  const DWORD length = GetEnvironmentVariableW(name, value, 4096);
  return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

TEST(SettingsFilePlace, ACopyOfTheProgramUnderAnotherNameUsesTivoluIniBesideIt) {
  if (!EnvironmentValue(L"TIVOLU_SETTINGS_CHILD").empty()) {
    // The child: its own path whole, the settings file beside it, a save and a read through it.
    EXPECT_EQ(ParamStr(0), Narrow(EnvironmentValue(L"TIVOLU_SETTINGS_CHILD")));
    EXPECT_EQ(ParamStr(1), "--gtest_filter=SettingsFilePlace.*");
    EXPECT_EQ(ParamStr(2), "");
    EXPECT_EQ(SettingsFilePath(), ExtractFilePath(ParamStr(0)) + "tivolu.ini");
    FakeControls controls(true, kJapanesePath);
    controls.ShownState[1] = false;
    WriteSettingsFile(SettingsFilePath(), controls);
    FakeControls back = ReadBack(SettingsFilePath());
    EXPECT_FALSE(back.ShownState[1]);
    EXPECT_EQ(back.Files[3], kJapanesePath);
    return;
  }
  TempFolder folder("ランチャー" + std::string(60, 'l') + "\U0001F3AA");
  const std::string program = folder.Path() + "別名 launcher.exe";
  ASSERT_GT(Widen(program).size(), 64u) << "longer than the first try at the program's name";
  ASSERT_TRUE(CopyFileW(Widen(ParamStr(0)).c_str(), Widen(program).c_str(), FALSE));
  std::wstring commandLine = L"\"" + Widen(program) + L"\" --gtest_filter=SettingsFilePlace.*";
  SetEnvironmentVariableW(L"TIVOLU_SETTINGS_CHILD", Widen(program).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr,
                                      FALSE, 0, nullptr, nullptr, &startup, &child);
  SetEnvironmentVariableW(L"TIVOLU_SETTINGS_CHILD", nullptr);
  ASSERT_TRUE(started) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 120000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(exitCode, 0u) << "the child's checks failed";
  EXPECT_FALSE(ReadBack(folder.Path() + "tivolu.ini").ShownState[1]);
  EXPECT_FALSE(Exists(folder.Path() + "別名 launcher.ini"));
}

// --- 300 damaged files through the read pass. ---

std::string RandomBytes(std::mt19937& random, size_t count) {
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string ValidFile(std::mt19937& random) {
  static const char* values[] = {"0",          "1",           "2", "-1",   "0x0", "0X1F",
                                 "$10",        "0x",          "",  "yes",  " 1",  "+1",
                                 "2147483648", "-2147483649", "$", "0x-1", "ﾃ"};
  std::string text = "[Visible]\r\n";
  for (int slot = 1; slot <= 4; ++slot)
    text += "Char0" + std::to_string(slot) + "=" + values[random() % std::size(values)] + "\r\n";
  text += "[Execute]\r\nChar01=C:\\a.txt\r\nChar02=\r\nChar03=\"C:\\q.txt\"\r\n";
  return text;
}

std::string DamagedFile(std::mt19937& random, int index) {
  switch (index % 10) {
    case 0:
      return RandomBytes(random, random() % 4000);
    case 1: {  // NUL bytes in a good file
      std::string text = ValidFile(random);
      for (int i = 0; i < 5; ++i) text.insert(random() % (text.size() + 1), 1, '\0');
      return text;
    }
    case 2: {  // a long line: 1 MB in three files (each read parses it anew), 64 KB in the rest
      const size_t length = index % 100 == 2 ? 1 << 20 : 1 << 16;
      return index % 20 == 2 ? "[Visible]\r\nChar01=" + std::string(length, '1') + "\r\n"
                             : std::string(length, 'x') + "\r\n" + ValidFile(random);
    }
    case 3: {  // byte-order marks alone or before odd bytes
      static const char* marks[] = {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "\xFF", "\xFE"};
      return std::string(marks[random() % 5]) + RandomBytes(random, random() % 3);
    }
    case 4: {  // UTF-16 of odd length
      std::string text = Utf16Bytes(ValidFile(random));
      text.resize(text.size() - 1 - 2 * (random() % 5));
      return text;
    }
    case 5:  // the same section twice
      return ValidFile(random) + ValidFile(random);
    case 6: {  // sections missing
      std::string text = ValidFile(random);
      return index % 20 == 6 ? text.substr(text.find("[Execute]"))
                             : text.substr(0, text.find("[Execute]"));
    }
    case 7:  // bad numbers and broken lines
      return ValidFile(random) + "[Visible\r\nChar01\r\n=1\r\n[]\r\n[Visible]]\r\nChar02==0\r\n";
    case 8: {  // bytes flipped
      std::string text = ValidFile(random);
      for (int i = 0; i < 8; ++i) text[random() % text.size()] = static_cast<char>(random());
      return text;
    }
    default: {  // pieces in any order, with any line ends
      static const char* pieces[] = {"[Visible]", "[Execute]", "Char01=0", "Char02=", "Char03=1",
                                     "Char04=x",  "=",         "[",        ";",       "\r",
                                     "\n",        "\r\n",      " ",        "\x1A"};
      std::string text;
      for (int i = 0; i < 40; ++i) text += pieces[random() % std::size(pieces)];
      return text;
    }
  }
}

TEST(SettingsFileFuzz, DamagedFilesGiveEachValueReadOrItsDefault) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  std::mt19937 random(12);
  int readValues = 0, defaults = 0;
  for (int index = 0; index < 300; ++index) {
    const std::string bytes = DamagedFile(random, index);
    WriteBytes(path, bytes);
    FakeControls shown(true, "A"), hidden(false, "B");
    ReadSettingsFile(path, shown);
    ReadSettingsFile(path, hidden);
    for (int slot = 0; slot < kSlotCount; ++slot) {
      // A value read is the same whatever the default; otherwise each pass kept its default.
      const bool read = shown.ShownState[slot] == hidden.ShownState[slot];
      ASSERT_TRUE(read || (shown.ShownState[slot] && !hidden.ShownState[slot]))
          << "file " << index << " slot " << slot;
      read ? ++readValues : ++defaults;
      const bool fileRead = shown.Files[slot] == hidden.Files[slot];
      ASSERT_TRUE(fileRead || (shown.Files[slot] == "A" && hidden.Files[slot] == "B"))
          << "file " << index << " slot " << slot;
    }
    ASSERT_EQ(FileBytes(path), bytes) << "the read pass changed file " << index;
  }
  std::printf("300 damaged files: %d values read, %d defaults\n", readValues, defaults);
  EXPECT_GT(readValues, 100);
  EXPECT_GT(defaults, 100);
}

}  // namespace
