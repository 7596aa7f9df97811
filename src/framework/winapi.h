#pragma once
// Windows headers, the owners of Windows handles, and text at the wide API.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/handles.h"

// True when the program runs under Wine rather than Windows (asked of ntdll once). A few platform
// calls cost or behave differently there; see the walkers' mouse capture.
bool RunningUnderWine();
// Tests replace the answer to take the Windows path under Wine; nullopt restores the real one.
void OverrideRunningUnderWine(std::optional<bool> answer);

// A function of a system library by name, the library loaded if it is not yet; null where the
// library or the function is missing. A library needed only now and then (the common controls, for
// tooltips) then costs a program that never needs it no start-up time and no memory.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

// The beep of a refused action, MessageBeep(0) by default (tests replace it to count beeps).
inline BOOL(WINAPI* RefusalBeep)(UINT) = MessageBeep;

// UTF-8 inside the program, UTF-16 at the wide API.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// The whole paths of a WM_DROPFILES drop, in the drop's order; never an empty one.
std::vector<std::wstring> DroppedFiles(HDROP drop);
// Registers WINDOW for shell file drops and lets the drop messages through the message filter, so
// a file manager of lower integrity can drop onto an elevated program.
void AcceptDroppedFiles(HWND window);

// The shell's launch, ShellExecuteW by default (tests replace it to see what is launched).
inline HINSTANCE(WINAPI* ShellExecuteFunction)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR,
                                               INT) = ShellExecuteW;
// Opens FILE (a path or an address, UTF-8, whole) through the shell's "OPEN" verb with OWNER as
// the owner of what the shell shows, empty parameters and folder, SW_SHOW. FILE is always the
// file argument, never part of a command line. The shell reports its own failures. Under Wine a
// file of a type the prefix has no program for is handed to the Linux desktop through winebrowser
// (as its one quoted argument).
void ShellOpen(HWND owner, const std::string& file);

// The shell's COM apartment for this thread, which the shell asks for before it launches through
// verbs (some handlers run in-process). While an object of this class lives, the first ShellOpen
// enters it, and it is kept until the object ends: COM's libraries (a megabyte of memory, and
// milliseconds to load) are loaded only by a program that launches something.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // Enters the living object's apartment unless it is entered; nothing without one.
  static void Enter();
  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};
