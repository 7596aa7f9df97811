#pragma once
// The settings file "tivolu.ini": which characters are shown ("Visible") and which file each one
// launches ("Execute"), one key per slot, "Char01" to "Char04". It lives beside the program where
// it can be written there, otherwise in the user's application-data folder (core/settings_place).
#include <string>

#include "settings/core/settings_place.h"

// The settings window's side of the settings file: its four check boxes and four edit fields,
// by slot (0 to 3, the slot number minus one, as the window's SelectedSlot).
class SettingsControls {
 public:
  virtual ~SettingsControls() = default;
  virtual bool Shown(int slot) const = 0;
  // Ticks or clears the slot's check box, which shows or hides its character.
  virtual void SetShown(int slot, bool shown) = 0;
  virtual std::string LaunchFile(int slot) const = 0;
  virtual void SetLaunchFile(int slot, const std::string& fileName) = 0;
};

constexpr int kSlotCount = 4;

// The program's folder, as ExtractFilePath gives it for ParamStr(0), followed by "tivolu.ini",
// whatever the program file is called.
std::string SettingsFilePath();

// The user's roaming application-data folder (%APPDATA%) as the shell names it, "" when it names
// none.
std::string RoamingAppDataFolder();
// The user's application-data folder as the program asks for it; tests point it elsewhere.
inline std::string (*UserDataFolder)() = RoamingAppDataFolder;

// The two places the settings file may live in.
struct SettingsFolders {
  std::string Program;   // ending with a separator
  std::string UserData;  // "" when unknown
};
// The running program's: its own folder and UserDataFolder().
SettingsFolders ProgramSettingsFolders();

// The file a read pass or a save goes to (ChooseSettingsFile over the real file system).
std::string SettingsFileFor(SettingsPass pass, const SettingsFolders& folders);
// The read pass of start-up, on the file chosen for reading.
void LoadSettings(SettingsControls& controls,
                  const SettingsFolders& folders = ProgramSettingsFolders());
// The write pass on the file chosen for saving; in the user's folder its own folder is made
// first. A failed write raises EIniFileException naming that file.
void SaveSettings(const SettingsControls& controls,
                  const SettingsFolders& folders = ProgramSettingsFolders());

// The read pass: each slot's "Visible" value (its current state as the default) set before the
// next is read, then each slot's "Execute" value (its current text as the default). Nothing is
// written; a missing or unreadable file leaves every default.
void ReadSettingsFile(const std::string& path, SettingsControls& controls);

// The write pass: the four "Visible" keys, then the four "Execute" keys (empty texts too), then
// the checked release. A failed write raises EIniFileException and ends the pass at that key.
void WriteSettingsFile(const std::string& path, const SettingsControls& controls);
