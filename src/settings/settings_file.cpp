#include "settings/settings_file.h"

#include "framework/core/sysutils.h"
#include "framework/inifiles.h"
#include "framework/system.h"

namespace {

constexpr const char* kVisible = "Visible";
constexpr const char* kExecute = "Execute";

std::string SlotKey(int slot) { return "Char0" + std::to_string(slot + 1); }

}  // namespace

std::string SettingsFilePath() { return ExtractFilePath(ParamStr(0)) + "tivolu.ini"; }

void ReadSettingsFile(const std::string& path, SettingsControls& controls) {
  const TIniFile ini(path);
  for (int slot = 0; slot < kSlotCount; ++slot)
    controls.SetShown(slot, ini.ReadBool(kVisible, SlotKey(slot), controls.Shown(slot)));
  for (int slot = 0; slot < kSlotCount; ++slot)
    controls.SetLaunchFile(slot,
                           ini.ReadString(kExecute, SlotKey(slot), controls.LaunchFile(slot)));
}

void WriteSettingsFile(const std::string& path, const SettingsControls& controls) {
  TIniFile ini(path);
  for (int slot = 0; slot < kSlotCount; ++slot)
    ini.WriteBool(kVisible, SlotKey(slot), controls.Shown(slot));
  for (int slot = 0; slot < kSlotCount; ++slot)
    ini.WriteString(kExecute, SlotKey(slot), controls.LaunchFile(slot));
  ini.UpdateFile();
}
