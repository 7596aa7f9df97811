// Launching through the shell, and the window side of shell file drops.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

#include "framework/forms.h"
#include "framework/winapi.h"
#include "support/files.h"
#include "support/shell_support.h"
#include "support/test_support.h"

namespace {

TEST(Shell, OpenPassesTheWholeFileAsTheFileArgumentWithEmptyParametersAndFolder) {
  TForm owner(nullptr);
  LaunchRecorder recorder;
  const auto& Launches = recorder.Launches;
  const std::string longPath = "C:\\資料\\" + std::string(600, 'x') + " 😀 \"q\" & %1.txt";
  ShellOpen(owner.Handle(), longPath);
  ShellOpen(nullptr, "https://information-server.invalid/info.php?pf=w&sn=tivolu");
  ASSERT_EQ(Launches.size(), 2u);
  EXPECT_EQ(Launches[0].Owner, owner.Handle());
  EXPECT_EQ(Launches[0].Verb, L"OPEN");
  EXPECT_EQ(Narrow(Launches[0].File), longPath);
  EXPECT_EQ(Launches[0].Parameters, L"");
  EXPECT_EQ(Launches[0].Folder, L"");
  EXPECT_EQ(Launches[0].Show, SW_SHOW);
  EXPECT_EQ(Launches[1].File, L"https://information-server.invalid/info.php?pf=w&sn=tivolu");
}

TEST(Shell, UnderWineAFileOfNoKnownTypeGoesToTheDesktopsOpenerOnWindowsTheShellAlone) {
  const std::string file = "Z:\\tmp\\資料 \"x\"\\";
  struct Case {
    bool wine;
    INT_PTR answer;
    size_t launches;
  };
  // 31: no program for the type; 2: no such file; 42: opened.
  for (const Case& c : {Case{true, SE_ERR_NOASSOC, 2}, Case{false, SE_ERR_NOASSOC, 1},
                        Case{true, SE_ERR_FNF, 1}, Case{true, 42, 1}}) {
    SCOPED_TRACE(testing::Message() << "wine " << c.wine << " answer " << c.answer);
    OverrideRunningUnderWine(c.wine);
    LaunchRecorder recorder;
    recorder.Answer = c.answer;
    ShellOpen(nullptr, file);
    OverrideRunningUnderWine(std::nullopt);
    ASSERT_EQ(recorder.Launches.size(), c.launches);
    EXPECT_EQ(Narrow(recorder.Launches[0].File), file);
    if (c.launches < 2) continue;
    const auto& fallback = recorder.Launches[1];
    EXPECT_EQ(fallback.Verb, L"OPEN");
    EXPECT_EQ(fallback.File, L"winebrowser.exe");
    EXPECT_EQ(fallback.Show, SW_SHOW);
    // The whole path comes back as the one argument.
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW((L"winebrowser.exe " + fallback.Parameters).c_str(), &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(Narrow(arguments[1]), file);
    LocalFree(arguments);
  }
}

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

// Whether this thread is in a single-threaded apartment now: entering one more time says so.
bool InApartment() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result)) CoUninitialize();
  return result == S_FALSE;
}

TEST(Shell, TheApartmentIsEnteredByTheFirstLaunchAndLeftWithItsObject) {
  ASSERT_FALSE(InApartment());
  LaunchRecorder recorder;
  {
    ComApartment apartment;
    EXPECT_FALSE(apartment.Entered());
    EXPECT_FALSE(InApartment());
    ShellOpen(nullptr, "C:\\a.txt");
    EXPECT_TRUE(apartment.Entered());
    EXPECT_TRUE(InApartment());
    ShellOpen(nullptr, "C:\\b.txt");  // entered once: one leave ends it
  }
  EXPECT_FALSE(InApartment());
  // Without a living object a launch enters none.
  ShellOpen(nullptr, "C:\\c.txt");
  EXPECT_FALSE(InApartment());
  EXPECT_EQ(recorder.Launches.size(), 3u);
}

TEST(Shell, DropTargetsAcceptFilesAndLetTheDropMessagesThrough) {
  TForm form(nullptr);
  EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  AcceptDroppedFiles(form.Handle());
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

}  // namespace
