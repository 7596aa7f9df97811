#pragma once
// The user's application-data folder pointed at a folder of the test's own while an object lives,
// so that no test reads or leaves settings in the Wine prefix's real one.
#include <string>
#include <utility>

#include "settings/settings_file.h"

class UserDataFolderRedirect {
 public:
  explicit UserDataFolderRedirect(std::string folder) {
    folder_ = std::move(folder);
    UserDataFolder = [] { return folder_; };
  }
  ~UserDataFolderRedirect() { UserDataFolder = RoamingAppDataFolder; }
  UserDataFolderRedirect(const UserDataFolderRedirect&) = delete;
  UserDataFolderRedirect& operator=(const UserDataFolderRedirect&) = delete;

 private:
  inline static std::string folder_;
};
