// TIniFile against real files through the platform's profile functions, in the code page this
// run was started for (932 or 1252; ctest runs the program once for each): values come back as
// they were written, whatever their length, blanks, quotation marks or characters; the file stays
// in the ANSI code page until a value needs more, and then becomes UTF-16LE with every other line
// kept; a write that cannot be stored raises "<file> に書き込めません" and changes nothing.
#include "framework/inifiles.h"

#include <gtest/gtest.h>

#include "framework/core/exception.h"
#include "support/files.h"

namespace {

// The values a fresh object reads back after WRITTEN went through one object that was released.
std::string RoundTrip(const std::string& path, const std::string& value) {
  {
    TIniFile ini(path);
    ini.WriteString("Execute", "Char01", value);
    ini.UpdateFile();
  }
  return TIniFile(path).ReadString("Execute", "Char01", "missing");
}

TEST(IniFile, RunsInTheCodePageItWasStartedFor) {
  ASSERT_NE(ExpectedAnsiCodePage(), 0u) << "TIVOLU_ANSI_CODE_PAGE is not set: run through ctest";
  EXPECT_EQ(GetACP(), ExpectedAnsiCodePage());
}

TEST(IniFile, NoFileGivesTheDefaultsAndIsNotCreated) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Execute", "Char01", "C:\\a.txt"), "C:\\a.txt");
    EXPECT_EQ(ini.ReadString("Execute", "Char01", " spaced  "), " spaced  ");
    EXPECT_TRUE(ini.ReadBool("Visible", "Char01", true));
    EXPECT_FALSE(ini.ReadBool("Visible", "Char01", false));
    ini.UpdateFile();
  }
  EXPECT_FALSE(Exists(path));
}

TEST(IniFile, ReadsWhatAFileHolds) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteBytes(path,
             "[Visible]\r\nChar01=0\r\nChar02=0x0\r\nChar03=2\r\nChar04=-1\r\nA=\r\nB=yes\r\n"
             "C=$10\r\nD=0X1F\r\nE = 0 \r\nF\r\n[Execute]\r\nChar01=\r\nChar02=  C:\\a b.txt  \r\n"
             "Char03=\"C:\\q.txt\"\r\nChar04=\x01\r\n");
  TIniFile ini(path);
  EXPECT_FALSE(ini.ReadBool("Visible", "Char01", true));
  EXPECT_FALSE(ini.ReadBool("Visible", "Char02", true));
  EXPECT_TRUE(ini.ReadBool("Visible", "Char03", false));
  EXPECT_TRUE(ini.ReadBool("Visible", "Char04", false));
  EXPECT_TRUE(ini.ReadBool("Visible", "A", true)) << "an empty value gives the default";
  EXPECT_FALSE(ini.ReadBool("Visible", "A", false));
  EXPECT_TRUE(ini.ReadBool("Visible", "B", true));
  EXPECT_FALSE(ini.ReadBool("Visible", "B", false));
  EXPECT_TRUE(ini.ReadBool("Visible", "C", false));
  EXPECT_TRUE(ini.ReadBool("Visible", "D", false));
  EXPECT_FALSE(ini.ReadBool("Visible", "E", true)) << "blanks around a value are the file's";
  EXPECT_TRUE(ini.ReadBool("Visible", "F", true)) << "a line without \"=\" is no value";
  EXPECT_EQ(ini.ReadString("Execute", "Char01", "old"), "") << "present but empty";
  EXPECT_EQ(ini.ReadString("Execute", "Char02", "old"), "C:\\a b.txt");
  EXPECT_EQ(ini.ReadString("Execute", "Char03", "old"), "C:\\q.txt");
  EXPECT_EQ(ini.ReadString("Execute", "Char04", "old"), "\x01") << "a value equal to the probe";
  EXPECT_EQ(ini.ReadString("Execute", "Char05", "old"), "old");
  EXPECT_EQ(ini.ReadString("Other", "Char01", "old"), "old");
}

TEST(IniFile, ValuesComeBackUnchangedWhateverTheirEndsOrLength) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  const std::string values[] = {"C:\\Program Files\\a b\\c.txt",
                                " leading",
                                "trailing ",
                                "  ",
                                "\t",
                                "\"quoted\"",
                                "'single'",
                                "\"",
                                "\"open",
                                "close'",
                                "a=b;c[d]",
                                "",
                                "\x1A",
                                "ファイル\u3000",
                                std::string(1000, 'p'),
                                "C:\\" + std::string(5000, 'x') + ".txt"};
  for (const std::string& value : values)
    EXPECT_EQ(RoundTrip(path, value), value) << '"' << value.substr(0, 40) << '"';
  // A plain value is written as it is, without quotation marks.
  const std::string plainPath = folder.Path() + "plain.ini";
  RoundTrip(plainPath, "C:\\My Files\\a b.txt");
  EXPECT_NE(FileBytes(plainPath).find("Char01=C:\\My Files\\a b.txt\r\n"), std::string::npos);
}

TEST(IniFile, JapaneseValuesStayInTheAnsiCodePageWhenItHoldsThem) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  EXPECT_EQ(RoundTrip(path, kJapanesePath), kJapanesePath);
  const std::string bytes = FileBytes(path);
  if (GetACP() == 932) {
    EXPECT_FALSE(bytes.starts_with("\xFF\xFE")) << "the file stays Shift-JIS";
    EXPECT_NE(bytes.find("Char01=" + AnsiBytes(kJapanesePath) + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\x95\x5C"), std::string::npos) << "\"表\" in Shift-JIS";
  } else {
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "no Western code page holds it";
  }
  std::string manyCharacters;
  for (int i = 0; i < 1000; ++i) manyCharacters += "表";
  EXPECT_EQ(RoundTrip(path, manyCharacters), manyCharacters);
}

TEST(IniFile, AValueOutsideTheCodePageTurnsTheFileIntoUtf16KeepingEveryLine) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  const std::string before =
      "; settings\r\n[Other]\r\nkey=ASCII value\r\n[Visible]\r\nChar01=0\r\n[Execute]\r\n"
      "Char02=C:\\b.txt\r\n";
  WriteBytes(path, before);
  {
    TIniFile ini(path);
    ini.WriteString("Execute", "Char03", "C:\\plain.txt");
    EXPECT_FALSE(FileBytes(path).starts_with("\xFF\xFE")) << "a value that fits changes nothing";
    ini.WriteString("Execute", "Char01", kOutsideEveryCodePage);
    ini.UpdateFile();
  }
  const std::string after = FileBytes(path);
  EXPECT_EQ(after,
            Utf16Bytes("; settings\r\n[Other]\r\nkey=ASCII value\r\n[Visible]\r\nChar01=0\r\n"
                       "[Execute]\r\nChar02=C:\\b.txt\r\nChar03=C:\\plain.txt\r\nChar01=" +
                       std::string(kOutsideEveryCodePage) + "\r\n"));
  EXPECT_FALSE(Exists(path + ".new"));
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("Execute", "Char01", ""), kOutsideEveryCodePage);
  EXPECT_EQ(ini.ReadString("Other", "key", ""), "ASCII value");
  EXPECT_FALSE(ini.ReadBool("Visible", "Char01", true));
  ini.WriteString("Execute", "Char02", "C:\\c.txt");
  EXPECT_TRUE(FileBytes(path).starts_with("\xFF\xFE")) << "a Unicode file stays Unicode";
  EXPECT_EQ(ini.ReadString("Execute", "Char02", ""), "C:\\c.txt");
}

TEST(IniFile, ANewFileForAValueOutsideTheCodePageStartsAsUtf16) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  EXPECT_EQ(RoundTrip(path, kOutsideEveryCodePage), kOutsideEveryCodePage);
  EXPECT_TRUE(FileBytes(path).starts_with("\xFF\xFE"));
}

TEST(IniFile, AUtf8FileIsReadInItsOwnEncodingWhenRewritten) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteBytes(path, "\xEF\xBB\xBF[Other]\r\nname=日本語\r\n");
  TIniFile ini(path);
  ini.WriteString("Execute", "Char01", kOutsideEveryCodePage);
  EXPECT_EQ(FileBytes(path).substr(0, Utf16Bytes("[Other]\r\nname=日本語\r\n").size()),
            Utf16Bytes("[Other]\r\nname=日本語\r\n"));
  EXPECT_EQ(ini.ReadString("Other", "name", ""), "日本語");
}

TEST(IniFile, ALongFolderIsReachedThroughItsShortForm) {
  TempFolder folder;
  std::string path = folder.Path();
  for (int i = 0; i < 3; ++i) {
    path += std::string(90, 'f') + "長い" + std::to_string(i) + "\\";
    ASSERT_TRUE(CreateDirectoryW(Widen(path).c_str(), nullptr));
  }
  path += "tivolu.ini";
  ASSERT_GT(Widen(path).size(), 300u);
  EXPECT_EQ(RoundTrip(path, kJapanesePath), kJapanesePath);
  EXPECT_TRUE(Exists(path));
}

TEST(IniFile, ValuesThatCannotStandInOneLineAreRefused) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  TIniFile ini(path);
  for (std::string value : {std::string("C:\\a\r\nChar02=C:\\evil.exe"), std::string("a\nb"),
                            std::string("a\rb"), std::string("a\0b", 3)})
    ExpectIniWriteError(path, [&] { ini.WriteString("Execute", "Char01", value); });
  EXPECT_FALSE(Exists(path));
}

TEST(IniFile, AReadOnlyFileIsLeftAsItWas) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  const std::string before = "[Visible]\r\nChar01=1\r\n";
  WriteBytes(path, before);
  ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  TIniFile ini(path);
  ExpectIniWriteError(path, [&] { ini.WriteBool("Visible", "Char01", false); });
  ExpectIniWriteError(path, [&] { ini.WriteString("Execute", "Char01", kOutsideEveryCodePage); });
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_TRUE(ini.ReadBool("Visible", "Char01", false));
}

TEST(IniFile, AFileLockedByAnotherProgramIsLeftAsItWas) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  WriteBytes(path, "[Visible]\r\nChar01=1\r\n");
  HANDLE lock =
      CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  TIniFile ini(path);
  ExpectIniWriteError(path, [&] { ini.WriteBool("Visible", "Char01", false); });
  ExpectIniWriteError(path, [&] { ini.WriteString("Execute", "Char01", kOutsideEveryCodePage); });
  CloseHandle(lock);
  EXPECT_EQ(FileBytes(path), "[Visible]\r\nChar01=1\r\n");
}

TEST(IniFile, AMissingFolderRaisesAndLeavesNothingBehind) {
  TempFolder folder;
  const std::string path = folder.Path() + "gone\\tivolu.ini";
  {
    TIniFile ini(path);
    ExpectIniWriteError(path, [&] { ini.WriteBool("Visible", "Char01", false); });
    EXPECT_TRUE(ini.ReadBool("Visible", "Char01", true)) << "nothing kept in a cache either";
    ExpectIniWriteError(path, [&] { ini.WriteString("Execute", "Char01", kOutsideEveryCodePage); });
  }
  EXPECT_FALSE(Exists(folder.Path() + "gone"));
  // A path too long for the profile functions, with no short form to fall back on.
  const std::string longPath = folder.Path() + std::string(300, 'g') + "\\tivolu.ini";
  TIniFile ini(longPath);
  ExpectIniWriteError(longPath, [&] { ini.WriteBool("Visible", "Char01", false); });
  EXPECT_TRUE(ini.ReadBool("Visible", "Char01", true));
}

TEST(IniFile, AnInterruptedRewriteKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  const std::string before = "[Other]\r\nkey=1\r\n";
  WriteBytes(path, before);
  // The new file cannot be made: a folder stands where it would go.
  ASSERT_TRUE(CreateDirectoryW(Widen(path + ".new").c_str(), nullptr));
  TIniFile ini(path);
  ExpectIniWriteError(path, [&] { ini.WriteString("Execute", "Char01", kOutsideEveryCodePage); });
  EXPECT_EQ(FileBytes(path), before);
}

TEST(IniFile, TheCheckedReleaseFindsAValueThatIsNotOnDisk) {
  TempFolder folder;
  const std::string path = folder.Path() + "tivolu.ini";
  TIniFile ini(path);
  ini.WriteString("Execute", "Char01", "C:\\mine.txt");
  ini.WriteString("Execute", "Char01", "C:\\mine2.txt");
  WriteBytes(path, "[Execute]\r\nChar01=C:\\other.txt\r\n");  // another program's save
  ExpectIniWriteError(path, [&] { ini.UpdateFile(); });
  ini.WriteString("Execute", "Char01", "C:\\mine3.txt");
  ini.UpdateFile();
  EXPECT_EQ(ini.ReadString("Execute", "Char01", ""), "C:\\mine3.txt");
}

}  // namespace
