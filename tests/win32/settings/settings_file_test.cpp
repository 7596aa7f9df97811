// The read and write passes of the settings file "tivolu.ini" against real files, in the code
// page this run was started for (932 or 1252; ctest runs the program once for each): the order of
// the passes, defaults, what a saved file holds, lines of an existing file kept, Japanese and
// other paths kept whole, a failed save ending at its key, the file's place beside a copy of the
// program under another name, the user's folder where the program's folder or file cannot be
// written (folders made read-only through Linux), and 300 damaged files read without harm.
#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>

#include "framework/core/exception.h"
#include "framework/core/sysutils.h"
#include "framework/inifiles.h"
#include "framework/system.h"
#include "support/files.h"
#include "support/user_folder.h"

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

// --- Where the settings live: beside the program where they can be written there, else in the
// user's folder (pointed at a folder of the test's own). ---

// One of Wine's own functions of kernel32, null on Windows.
template <class Function>
Function WineFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32"), name)));
}

// The Windows path of a Linux path, and the other way round, as Wine maps them.
std::wstring DosPath(const std::string& unixPath) {
  const auto dos = WineFunction<WCHAR*(CDECL*)(LPCSTR)>("wine_get_dos_file_name");
  WCHAR* name = dos ? dos(unixPath.c_str()) : nullptr;
  const std::wstring path = name ? name : L"";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return path;
}
std::string UnixPath(const std::string& path) {
  const auto toUnix = WineFunction<char*(CDECL*)(LPCWSTR)>("wine_get_unix_file_name");
  char* name = toUnix ? toUnix(Widen(path).c_str()) : nullptr;
  std::string unixPath = name ? name : "";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  while (unixPath.ends_with('/')) unixPath.pop_back();
  return unixPath;
}

// Runs COMMAND in the Linux shell that Wine runs on (Wine starts a Linux program as such, but
// gives no exit code for it: the shell leaves its own in a file); the exit code, -1 when the shell
// could not be run or did not end within 30 s.
int RunLinuxShell(const std::string& command) {
  TempFolder folder("linux");
  const std::string status = UnixPath(folder.Path()) + "/status";
  const std::wstring shell = DosPath("/bin/sh");
  if (shell.empty() || status.size() <= 7) return -1;
  std::wstring commandLine =
      L"/bin/sh -c " +
      Widen(QuoteArgument("(" + command + ") >/dev/null 2>&1; echo $? >'" + status + ".new'; mv '" +
                          status + ".new' '" + status + "'"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &child))
    return -1;
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  for (int wait = 0; wait < 300 && !Exists(folder.Path() + "status"); ++wait) Sleep(100);
  if (!Exists(folder.Path() + "status")) return -1;
  return std::atoi(FileBytes(folder.Path() + "status").c_str());
}

// Folders and files bound over others through Linux (needs root): a folder read-only as on a
// read-only share or a disc, a writable file over a file in such a folder. Undone, newest first,
// when the object goes.
class LinuxMounts {
 public:
  LinuxMounts() = default;
  LinuxMounts(const LinuxMounts&) = delete;
  LinuxMounts& operator=(const LinuxMounts&) = delete;
  ~LinuxMounts() {
    for (auto target = targets_.rbegin(); target != targets_.rend(); ++target)
      EXPECT_EQ(RunLinuxShell("umount '" + *target + "'"), 0) << "still mounted: " << *target;
  }
  // FOLDER (ending with a separator) read-only from now on.
  bool MakeReadOnly(const std::string& folder) {
    const std::string target = UnixPath(folder);
    return Mount("mount --bind '" + target + "' '" + target + "' && mount -o remount,ro,bind '" +
                     target + "' '" + target + "'",
                 target);
  }
  // What is written to TARGET (an existing file) goes to SOURCE.
  bool BindFile(const std::string& source, const std::string& target) {
    return Mount("mount --bind '" + UnixPath(source) + "' '" + UnixPath(target) + "'",
                 UnixPath(target));
  }

 private:
  bool Mount(const std::string& command, const std::string& target) {
    if (target.empty() || RunLinuxShell(command) != 0) return false;
    targets_.push_back(target);
    return true;
  }
  std::vector<std::string> targets_;
};

// The program's folder (beside the program) and the user's application-data folder of a test.
struct Places {
  TempFolder Program{"program"};
  TempFolder UserData{"userdata"};
  SettingsFolders Folders() const { return {Program.Path(), UserData.Path()}; }
  std::string Beside() const { return Program.Path() + "tivolu.ini"; }
  std::string User() const { return UserData.Path() + "tivolu\\tivolu.ini"; }
};

// The names in FOLDER, "." and ".." left out.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Narrow(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

FakeControls Loaded(const SettingsFolders& folders) {
  FakeControls controls(true, "default");
  LoadSettings(controls, folders);
  return controls;
}

// Why a test that needs a read-only folder is skipped.
constexpr const char* kCannotMount = "cannot bind a folder read-only: mounting needs root";

TEST(SettingsFileLocation,
     AWritableFolderKeepsTheFileBesideTheProgramAndLeavesTheUsersFolderAlone) {
  Places places;
  FakeControls controls(true, "C:\\a.txt");
  controls.ShownState[3] = false;
  SaveSettings(controls, places.Folders());
  EXPECT_EQ(Names(places.Program.Path()), (std::vector<std::string>{"tivolu.ini"}))
      << "the probe of the folder left nothing behind";
  EXPECT_TRUE(Names(places.UserData.Path()).empty());
  EXPECT_FALSE(Loaded(places.Folders()).ShownState[3]);

  // A writable file beside the program wins over one in the user's folder, at start-up and at
  // the next save.
  CreateDirectoryW(Widen(places.UserData.Path() + "tivolu").c_str(), nullptr);
  const std::string userFile = "[Visible]\r\nChar01=0\r\n[Execute]\r\nChar01=C:\\user.txt\r\n";
  WriteBytes(places.User(), userFile);
  FakeControls back = Loaded(places.Folders());
  EXPECT_TRUE(back.ShownState[0]);
  EXPECT_EQ(back.Files[0], "C:\\a.txt");
  SaveSettings(FakeControls(false, "C:\\b.txt"), places.Folders());
  EXPECT_EQ(Loaded(places.Folders()).Files[2], "C:\\b.txt");
  EXPECT_EQ(FileBytes(places.User()), userFile);
}

TEST(SettingsFileLocation, AReadOnlyFolderSavesInTheUsersFolderWhichTheNextStartReads) {
  Places places;
  LinuxMounts mounts;
  if (!mounts.MakeReadOnly(places.Program.Path())) GTEST_SKIP() << kCannotMount;
  FakeControls controls(true, "");
  controls.ShownState[1] = false;
  controls.Files[2] = "C:\\My Files\\c.txt";
  EXPECT_EQ(SettingsFileFor(SettingsPass::Save, places.Folders()), places.User());
  SaveSettings(controls, places.Folders());
  EXPECT_TRUE(Names(places.Program.Path()).empty());
  EXPECT_EQ(Names(places.UserData.Path() + "tivolu\\"), (std::vector<std::string>{"tivolu.ini"}));
  FakeControls back = Loaded(places.Folders());
  EXPECT_FALSE(back.ShownState[1]);
  EXPECT_TRUE(back.ShownState[0]);
  EXPECT_EQ(back.Files[2], "C:\\My Files\\c.txt");
  EXPECT_EQ(back.Files[0], "") << "the user's file holds every key";
}

TEST(SettingsFileLocation, AReadOnlyFileBesideTheProgramGivesTheFirstSettingsThenTheUsersFileWins) {
  // Read-only as Windows marks a file, in a writable folder; and as a disc holds it.
  for (bool onReadOnlyMedium : {false, true}) {
    SCOPED_TRACE(onReadOnlyMedium ? "on a read-only medium" : "read-only attribute");
    Places places;
    const std::string shipped = "[Visible]\r\nChar02=0\r\n[Execute]\r\nChar04=C:\\shipped.txt\r\n";
    WriteBytes(places.Beside(), shipped);
    LinuxMounts mounts;
    if (onReadOnlyMedium) {
      if (!mounts.MakeReadOnly(places.Program.Path())) GTEST_SKIP() << kCannotMount;
    } else {
      SetFileAttributesW(Widen(places.Beside()).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    FakeControls first = Loaded(places.Folders());
    EXPECT_FALSE(first.ShownState[1]);
    EXPECT_EQ(first.Files[3], "C:\\shipped.txt");

    first.ShownState[1] = true;
    first.Files[3] = "C:\\changed.txt";
    SaveSettings(first, places.Folders());
    EXPECT_EQ(FileBytes(places.Beside()), shipped);
    FakeControls next = Loaded(places.Folders());
    EXPECT_TRUE(next.ShownState[1]);
    EXPECT_EQ(next.Files[3], "C:\\changed.txt");
  }
}

TEST(SettingsFileLocation, JapaneseAndEmojiPathsSurviveInTheUsersFile) {
  Places places;
  TempFolder userData("ユーザー \U0001F3AA");
  LinuxMounts mounts;
  if (!mounts.MakeReadOnly(places.Program.Path())) GTEST_SKIP() << kCannotMount;
  const SettingsFolders folders{places.Program.Path(), userData.Path()};
  FakeControls controls(true, "");
  controls.Files[0] = kJapanesePath;
  controls.Files[1] = kOutsideEveryCodePage;
  SaveSettings(controls, folders);
  const std::string user = userData.Path() + "tivolu\\tivolu.ini";
  EXPECT_TRUE(FileBytes(user).starts_with("\xFF\xFE")) << "an emoji needs the Unicode file";
  FakeControls back = Loaded(folders);
  EXPECT_EQ(back.Files[0], kJapanesePath);
  EXPECT_EQ(back.Files[1], kOutsideEveryCodePage);
  EXPECT_TRUE(Names(places.UserData.Path()).empty());
}

// A file that may be changed in a folder that takes no new file (a share that grants the one
// file): the settings stay in it, even when a value turns it into a Unicode file.
TEST(SettingsFileLocation, AWritableFileInAReadOnlyFolderStaysTheSettingsFileAndMayTurnUnicode) {
  Places places;
  TempFolder elsewhere("elsewhere");
  WriteBytes(places.Beside(), "; kept\r\n[Visible]\r\nChar01=0\r\n");
  WriteBytes(elsewhere.Path() + "tivolu.ini", "; kept\r\n[Visible]\r\nChar01=0\r\n");
  LinuxMounts mounts;
  if (!mounts.MakeReadOnly(places.Program.Path())) GTEST_SKIP() << kCannotMount;
  ASSERT_TRUE(mounts.BindFile(elsewhere.Path() + "tivolu.ini", places.Beside()));
  FakeControls controls = Loaded(places.Folders());
  EXPECT_FALSE(controls.ShownState[0]);
  controls.ShownState[0] = true;
  controls.Files[1] = kOutsideEveryCodePage;
  SaveSettings(controls, places.Folders());
  EXPECT_TRUE(Names(places.UserData.Path()).empty());
  EXPECT_EQ(Names(places.Program.Path()), (std::vector<std::string>{"tivolu.ini"}));
  const std::string bytes = FileBytes(elsewhere.Path() + "tivolu.ini");
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_NE(bytes.find(Utf16Bytes("; kept").substr(2)), std::string::npos);
  FakeControls back = Loaded(places.Folders());
  EXPECT_TRUE(back.ShownState[0]);
  EXPECT_EQ(back.Files[1], kOutsideEveryCodePage);
}

TEST(SettingsFileLocation, TheUsersFolderIsTheShellsRoamingApplicationDataFolder) {
  wchar_t folder[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
  EXPECT_EQ(RoamingAppDataFolder(), Narrow(folder));
  EXPECT_EQ(ProgramSettingsFolders().UserData, Narrow(folder));
  {
    UserDataFolderRedirect redirect("D:\\elsewhere\\");
    EXPECT_EQ(ProgramSettingsFolders().UserData, "D:\\elsewhere\\");
  }
  EXPECT_EQ(ProgramSettingsFolders().Program, ExtractFilePath(ParamStr(0)));
}

}  // namespace
