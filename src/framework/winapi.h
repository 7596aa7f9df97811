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

// UTF-8 inside the program, UTF-16 at the wide API.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// The whole paths of a WM_DROPFILES drop, in the drop's order.
std::vector<std::wstring> DroppedFiles(HDROP drop);
