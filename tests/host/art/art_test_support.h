#pragma once
// Helpers of the tests of the compiled art in build/art (written by scripts/art.sh, make art).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../region/region_test_support.h"

namespace art_test {

using region_test::I32;
using region_test::U16;
using region_test::U32;

inline std::filesystem::path ArtDir() {
  return std::filesystem::path(TIVOLU_BUILD_DIR).parent_path() / "art";
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path << " is missing: run scripts/art.sh";
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder for one test's sources and output, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "artc-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    EXPECT_FALSE(path_.empty());
  }
  ~ScratchFolder() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs build/host/artc SOURCE OUTPUT; returns its exit code, its error output in `errors`.
inline int RunArtc(const std::filesystem::path& source, const std::filesystem::path& output,
                   std::string& errors) {
  const std::filesystem::path errorFile = output.parent_path() / "errors";
  const std::string command = "'" + std::string(TIVOLU_BUILD_DIR) + "/artc' '" + source.string() +
                              "' '" + output.string() + "' 2>'" + errorFile.string() + "'";
  const int status = std::system(command.c_str());
  errors = ReadText(errorFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace art_test
