#pragma once
// What the program entry sets up before the first window.

inline constexpr const char* kApplicationTitle = "Launcher Tivolu! ～Morvane～";

// Registers every class that the program's stored descriptions create.
void RegisterProgramClasses();
