#pragma once
// The settings file "tivolu.ini" beside the program: which characters are shown ("Visible") and
// which file each one launches ("Execute"), one key per slot, "Char01" to "Char04".
#include <string>

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

// The read pass: each slot's "Visible" value (its current state as the default) set before the
// next is read, then each slot's "Execute" value (its current text as the default). Nothing is
// written; a missing or unreadable file leaves every default.
void ReadSettingsFile(const std::string& path, SettingsControls& controls);

// The write pass: the four "Visible" keys, then the four "Execute" keys (empty texts too), then
// the checked release. A failed write raises EIniFileException and ends the pass at that key.
void WriteSettingsFile(const std::string& path, const SettingsControls& controls);
