#pragma once
// The second half of the main character window's creation: the settings window, created hidden;
// the settings file read into its check boxes (each character shown or hidden to match) and
// edit fields; the notification-area icon activated last, which takes the program's task-bar
// button away.
#include "settings/status_form.h"

class TForm1;

// The program's character windows, slot by slot, through the window references Form1 to Form4.
const CharacterWindows& ProgramCharacters();

void LoadSettingsAtStartup(TForm1* owner);
