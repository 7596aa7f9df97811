#include "settings/core/settings_place.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kProgram = "E:\\Tools\\Tivolu\\";
const std::string kBeside = kProgram + "tivolu.ini";
const std::string kUserData = "C:\\Users\\ユーザー\\AppData\\Roaming";
const std::string kUser = kUserData + "\\tivolu\\tivolu.ini";

// A file system of names, which logs every question it is asked.
class FakeFileSystem final : public SettingsFileSystem {
 public:
  bool Exists(const std::string& path) const override {
    Asked.push_back("exists " + path);
    return Files.contains(path);
  }
  bool FileWritable(const std::string& path) const override {
    Asked.push_back("file writable " + path);
    return Files.contains(path) && !ReadOnlyFiles.contains(path);
  }
  bool FolderWritable(const std::string& folder) const override {
    Asked.push_back("folder writable " + folder);
    return !ReadOnlyFolders.contains(folder);
  }
  std::set<std::string> Files, ReadOnlyFiles, ReadOnlyFolders;
  mutable std::vector<std::string> Asked;
};

std::string Read(const FakeFileSystem& files, const std::string& userData = kUserData) {
  return ChooseSettingsFile(SettingsPass::Read, kProgram, userData, files);
}
std::string Save(const FakeFileSystem& files, const std::string& userData = kUserData) {
  return ChooseSettingsFile(SettingsPass::Save, kProgram, userData, files);
}

TEST(SettingsPlace, TheUsersFileLiesInAFolderOfTheProgramsOwnUnderTheUsersFolder) {
  EXPECT_EQ(UserSettingsFilePath(kUserData), kUser);
  EXPECT_EQ(UserSettingsFilePath(kUserData + "\\"), kUser);
  EXPECT_EQ(UserSettingsFilePath("Z:/home/u/"), "Z:/home/u/tivolu\\tivolu.ini");
  EXPECT_EQ(UserSettingsFilePath("C:\\\U0001F3AA"), "C:\\\U0001F3AA\\tivolu\\tivolu.ini");
  EXPECT_EQ(UserSettingsFilePath(""), "");
}

TEST(SettingsPlace, WhereNothingBesideTheProgramCanBeWrittenTheUsersFileIsSavedAndReadBack) {
  FakeFileSystem files;
  files.ReadOnlyFolders = {kProgram};
  EXPECT_EQ(Read(files), kBeside) << "nothing saved anywhere: nothing to choose";
  EXPECT_EQ(files.Asked, (std::vector<std::string>{"exists " + kBeside, "exists " + kUser}))
      << "the folder is not probed for a read that finds nothing either way";
  EXPECT_EQ(Save(files), kUser);
  files.Files = {kUser};
  EXPECT_EQ(Read(files), kUser);
}

TEST(SettingsPlace, WithoutAUsersFolderEverythingStaysBesideTheProgramAndNothingIsAsked) {
  FakeFileSystem files;
  files.Files = {kBeside};
  files.ReadOnlyFiles = {kBeside};
  files.ReadOnlyFolders = {kProgram};
  EXPECT_EQ(Save(files, ""), kBeside) << "the save fails there and says so";
  EXPECT_EQ(Read(files, ""), kBeside);
  EXPECT_TRUE(files.Asked.empty());
}

// Over every state of the two places: a save stays beside the program where the file there, or
// without one the program's folder, can be written; a read pass reads the file the next save
// would write when that exists, else the one beside the program.
TEST(SettingsPlace, ASaveStaysBesideTheProgramWhereItCanAndEveryReadPassFollowsTheSave) {
  for (int state = 0; state < 16; ++state) {
    FakeFileSystem files;
    if (state & 1) files.Files.insert(kBeside);
    if (state & 2) files.ReadOnlyFiles.insert(kBeside);
    if (state & 4) files.ReadOnlyFolders.insert(kProgram);
    if (state & 8) files.Files.insert(kUser);
    const std::string saved = Save(files);
    const bool besideWritable = state & 1 ? !(state & 2) : !(state & 4);
    EXPECT_EQ(saved, besideWritable ? kBeside : kUser) << state;
    EXPECT_EQ(Read(files), files.Files.contains(saved) ? saved : kBeside) << state;
    // Where a file lies beside the program, it decides: the folder is never probed.
    const bool probed = std::ranges::any_of(
        files.Asked, [](const std::string& question) { return question.starts_with("folder"); });
    EXPECT_EQ(probed, !(state & 1)) << state;
  }
}

}  // namespace
