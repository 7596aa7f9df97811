// Launching through the shell, and the window side of shell file drops.
#include <gtest/gtest.h>

#include <string>

#include "framework/forms.h"
#include "framework/winapi.h"
#include "support/files.h"
#include "support/test_support.h"

namespace {

struct Launch {
  HWND Owner;
  std::wstring Verb, File, Parameters, Folder;
  INT Show;
};
std::vector<Launch> Launches;
HINSTANCE WINAPI RecordLaunch(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR folder, INT show) {
  // Null pointers would show as a failed test, not a crash.
  auto text = [](LPCWSTR s) { return s ? std::wstring(s) : std::wstring(L"<null>"); };
  Launches.push_back({owner, text(verb), text(file), text(parameters), text(folder), show});
  return reinterpret_cast<HINSTANCE>(33);
}

TEST(Shell, OpenPassesTheWholeFileAsTheFileArgumentWithEmptyParametersAndFolder) {
  TForm owner(nullptr);
  ShellExecuteFunction = RecordLaunch;
  const std::string longPath = "C:\\資料\\" + std::string(600, 'x') + " 😀 \"q\" & %1.txt";
  ShellOpen(owner.Handle(), longPath);
  ShellOpen(nullptr, "https://information-server.invalid/info.php?pf=w&sn=tivolu");
  ShellExecuteFunction = ShellExecuteW;
  ASSERT_EQ(Launches.size(), 2u);
  EXPECT_EQ(Launches[0].Owner, owner.Handle());
  EXPECT_EQ(Launches[0].Verb, L"OPEN");
  EXPECT_EQ(Narrow(Launches[0].File), longPath);
  EXPECT_EQ(Launches[0].Parameters, L"");
  EXPECT_EQ(Launches[0].Folder, L"");
  EXPECT_EQ(Launches[0].Show, SW_SHOW);
  EXPECT_EQ(Launches[1].File, L"https://information-server.invalid/info.php?pf=w&sn=tivolu");
}

// The folder of this test program, where the build puts the marker program too.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A file type of this test's own whose "open" runs the marker program.
class MarkerAssociation {
 public:
  MarkerAssociation() {
    Set(L".tivolutest", L"TivoluTest.File");
    Set(L"TivoluTest.File\\shell\\open\\command",
        L"\"" + ProgramFolder() + L"marker.exe\" \"%1\"");
  }
  ~MarkerAssociation() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tivolutest");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TivoluTest.File");
  }

 private:
  static void Set(const std::wstring& key, const std::wstring& value) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
};

TEST(Shell, OpenLaunchesTheProgramAssociatedWithTheFilesTypeWithThatPath) {
  ComApartment apartment;
  TempFolder folder("起動");
  MarkerAssociation association;
  const std::string log = folder.Path() + "marker.log";
  SetEnvironmentVariableW(L"TIVOLU_MARKER_LOG", Widen(log).c_str());
  const std::string file = folder.Path() + "資料 😀 100% & more.tivolutest";
  WriteBytes(file, "x");
  ShellOpen(nullptr, file);
  EXPECT_TRUE(PumpUntil([&] { return Exists(log) && !FileBytes(log).empty(); }));
  EXPECT_EQ(FileBytes(log), file + "\n");
}

TEST(Shell, DropTargetsAcceptFilesAndLetTheDropMessagesThrough) {
  TForm form(nullptr);
  EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  AcceptDroppedFiles(form.Handle());
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

}  // namespace
