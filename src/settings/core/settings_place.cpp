#include "settings/core/settings_place.h"

std::string UserSettingsFilePath(std::string_view userDataFolder) {
  if (userDataFolder.empty()) return {};
  std::string path(userDataFolder);
  if (!path.ends_with('\\') && !path.ends_with('/')) path += '\\';
  return path + "tivolu\\" + std::string(kSettingsFileName);
}

// A save stays beside the program where it can be written: into the file that is there, or,
// when there is none yet, as a new file in the program's folder. Anywhere else (a read-only
// folder, a read-only file shipped beside the program) it goes to the user's folder. A read
// pass reads the file the next save would write; until that exists, the one beside the program,
// so a file shipped read-only beside it gives the first settings. Without a user's folder
// everything stays beside the program.
std::string ChooseSettingsFile(SettingsPass pass, const std::string& programFolder,
                               std::string_view userDataFolder, const SettingsFileSystem& files) {
  const std::string beside = programFolder + std::string(kSettingsFileName);
  const std::string user = UserSettingsFilePath(userDataFolder);
  if (user.empty()) return beside;
  const bool besideExists = files.Exists(beside);
  // Nothing to read in the user's folder: the choice cannot change what a read pass finds.
  if (pass == SettingsPass::Read && !besideExists && !files.Exists(user)) return beside;
  const bool besideWritable =
      besideExists ? files.FileWritable(beside) : files.FolderWritable(programFolder);
  if (besideWritable) return beside;
  if (pass == SettingsPass::Save || files.Exists(user)) return user;
  return beside;
}
