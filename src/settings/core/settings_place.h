#pragma once
// Where the settings file lives: beside the program where it can be written there (the program
// carried on a stick keeps its settings), otherwise in the user's own application-data folder.
#include <string>
#include <string_view>

// What the choice asks of the file system. Each question is asked only when its answer matters,
// so nothing is probed that the choice does not need.
class SettingsFileSystem {
 public:
  virtual bool Exists(const std::string& path) const = 0;
  // Whether the existing file at PATH may be changed.
  virtual bool FileWritable(const std::string& path) const = 0;
  // Whether a new file can be made in FOLDER (ending with a separator).
  virtual bool FolderWritable(const std::string& folder) const = 0;

 protected:
  ~SettingsFileSystem() = default;
};

// The file's name, beside the program and in the user's folder alike.
inline constexpr std::string_view kSettingsFileName = "tivolu.ini";

// USER_DATA_FOLDER\tivolu\tivolu.ini, whether or not the folder ends with a separator; "" when
// USER_DATA_FOLDER is "" (the system names none).
std::string UserSettingsFilePath(std::string_view userDataFolder);

enum class SettingsPass { Read, Save };

// The file a read pass or a save goes to, for the program's folder PROGRAM_FOLDER (ending with a
// separator) and the user's application-data folder USER_DATA_FOLDER ("" when unknown).
std::string ChooseSettingsFile(SettingsPass pass, const std::string& programFolder,
                               std::string_view userDataFolder, const SettingsFileSystem& files);
