#pragma once
// The program's command line, as the run-time library gives it.
#include <string>

// ParamStr(0) is the program's own file name, whole, taken through the wide API (long folders and
// any characters work); ParamStr(1) onwards are the command-line arguments; an index past them
// gives "". UTF-8.
std::string ParamStr(int index);
