#pragma once
// The program's command line, as the run-time library gives it, and what the file system lets
// the program do.
#include <string>

// ParamStr(0) is the program's own file name, whole, taken through the wide API (long folders and
// any characters work); ParamStr(1) onwards are the command-line arguments; an index past them
// gives "". UTF-8.
std::string ParamStr(int index);

// Whether a new file can be made in FOLDER (UTF-8, ending with a separator): one is made there and
// is gone again at once. Only a real file tells: permissions, read-only media and shares all
// refuse it alike.
bool FolderTakesNewFiles(const std::string& folder);
