#pragma once
// What the Windows benchmarks share.
#include <windows.h>

#include <cstdio>

// A program of the Windows subsystem prints to the console it was started from, if any; under
// Wine its standard output already goes to the terminal.
inline void UseParentConsole() {
  if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) std::freopen("CONOUT$", "w", stdout);
}
