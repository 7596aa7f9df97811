#pragma once
// The shell's side of the Windows tests: launches recorded instead of made, drops made in this
// process as the shell makes them, and a file type of the tests' own whose "open" runs the marker
// program.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/winapi.h"
#include "support/test_support.h"

// While it lives, every ShellOpen is recorded here instead of launched.
class LaunchRecorder {
 public:
  struct Launch {
    HWND Owner;
    std::wstring Verb, File, Parameters, Folder;
    INT Show;
  };
  LaunchRecorder();
  ~LaunchRecorder();
  LaunchRecorder(const LaunchRecorder&) = delete;
  LaunchRecorder& operator=(const LaunchRecorder&) = delete;
  std::vector<Launch> Launches;
  // What every launch answers (above 32: success).
  INT_PTR Answer = 33;

 private:
  Replaced<decltype(ShellExecuteFunction)> replaced_;
};

// While it lives, RefusalBeep only counts.
class BeepCounter {
 public:
  BeepCounter();
  ~BeepCounter();
  BeepCounter(const BeepCounter&) = delete;
  BeepCounter& operator=(const BeepCounter&) = delete;
  int Beeps() const;

 private:
  Replaced<decltype(RefusalBeep)> replaced_;
};

// A drop as the shell makes it: DROPFILES, then the wide paths, each ended by a zero, and a zero.
// Whoever handles WM_DROPFILES releases it.
HGLOBAL MakeDrop(const std::vector<std::wstring>& paths);
// Whether a drop made by MakeDrop has been released (GlobalFlags fails on freed memory).
bool DropReleased(HGLOBAL drop);

// The folder of this test program, where the build puts the marker program too.
std::wstring ProgramFolder();

// The file type ".tivolutest" whose open command runs marker.exe from the build folder, which
// appends its arguments to the file named by TIVOLU_MARKER_LOG. Under Wine only HKEY_CLASSES_ROOT
// itself works, not HKCU\Software\Classes.
class MarkerAssociation {
 public:
  MarkerAssociation();
  ~MarkerAssociation();
  MarkerAssociation(const MarkerAssociation&) = delete;
  MarkerAssociation& operator=(const MarkerAssociation&) = delete;
};
