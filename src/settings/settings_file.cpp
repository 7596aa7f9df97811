#include "settings/settings_file.h"

#include <shlobj.h>

#include "framework/core/sysutils.h"
#include "framework/inifiles.h"
#include "framework/system.h"
#include "framework/winapi.h"

namespace {

constexpr const char* kVisible = "Visible";
constexpr const char* kExecute = "Execute";

std::string SlotKey(int slot) { return "Char0" + std::to_string(slot + 1); }

// The file system as the choice of the settings file's place asks about it.
class RealFileSystem final : public SettingsFileSystem {
 public:
  bool Exists(const std::string& path) const override {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // The read-only attribute counts even where the platform would let a write through (Wine run
  // by root), as the ini file refuses such a file.
  bool FileWritable(const std::string& path) const override {
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
      return false;
    return bool(OpenFileHandle(wide.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               OPEN_EXISTING));
  }
  bool FolderWritable(const std::string& folder) const override {
    return FolderTakesNewFiles(folder);
  }
};

}  // namespace

std::string SettingsFilePath() {
  return ExtractFilePath(ParamStr(0)) + std::string(kSettingsFileName);
}

std::string RoamingAppDataFolder() {
  wchar_t folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder)))
    return {};
  return Narrow(folder);
}

SettingsFolders ProgramSettingsFolders() {
  return {ExtractFilePath(ParamStr(0)), UserDataFolder()};
}

std::string SettingsFileFor(SettingsPass pass, const SettingsFolders& folders) {
  return ChooseSettingsFile(pass, folders.Program, folders.UserData, RealFileSystem());
}

void LoadSettings(SettingsControls& controls, const SettingsFolders& folders) {
  ReadSettingsFile(SettingsFileFor(SettingsPass::Read, folders), controls);
}

void SaveSettings(const SettingsControls& controls, const SettingsFolders& folders) {
  const std::string path = SettingsFileFor(SettingsPass::Save, folders);
  // The user's folder is made when it is first needed; if it cannot be, the write names the file.
  if (path == UserSettingsFilePath(folders.UserData)) {
    const std::string folder = ExtractFilePath(path);
    CreateDirectoryW(Widen(folder.substr(0, folder.size() - 1)).c_str(), nullptr);
  }
  WriteSettingsFile(path, controls);
}

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
