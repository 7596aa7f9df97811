// The bmp2rgn command-line tool, run as the build runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"
#include "region_test_support.h"

namespace {

namespace fs = std::filesystem;

class Bmp2RgnTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(tool_)) << tool_ << " is missing: build the host tools first";
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = fs::temp_directory_path() / ("tivolu-bmp2rgn-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  static std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

  // Runs the tool with `arguments`; returns its exit status and keeps its stderr in error_.
  int Run(const std::string& arguments) {
    const fs::path errors = dir_ / "stderr.txt";
    const std::string command = Quoted(tool_) + " " + arguments + " >/dev/null 2>" + Quoted(errors);
    const int status = std::system(command.c_str());
    const std::vector<uint8_t> text = ReadFile(errors);
    error_.assign(text.begin(), text.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  const fs::path tool_ = fs::path(TIVOLU_BUILD_DIR) / "bmp2rgn";
  fs::path dir_;
  std::string error_;
};

TEST_F(Bmp2RgnTool, WritesTheOutlineBlob) {
  Image image = region_test::PixelMap({
      ".##..",
      "####.",
      ".##..",
      ".....",
  });
  WriteFile(dir_ / "frame.bmp", WriteBmpFile(image));
  ASSERT_EQ(Run(Quoted(dir_ / "frame.bmp") + " " + Quoted(dir_ / "frame.bin")), 0) << error_;
  EXPECT_EQ(error_, "");
  const std::vector<uint8_t> blob = ReadFile(dir_ / "frame.bin");
  EXPECT_EQ(blob, BmpToRgnData(image));
  EXPECT_EQ(region_test::RectsOf(blob),
            (std::vector<Rect>{{1, 0, 3, 1}, {0, 1, 4, 2}, {1, 2, 3, 3}}));
  EXPECT_FALSE(fs::exists(dir_ / "frame.bin.partial"));
}

TEST_F(Bmp2RgnTool, MalformedInputFailsWithoutOutput) {
  WriteFile(dir_ / "bad.bmp", {'B', 'M', 0, 0, 0});
  EXPECT_EQ(Run(Quoted(dir_ / "bad.bmp") + " " + Quoted(dir_ / "bad.bin")), 1);
  EXPECT_NE(error_.find("Invalid BMP file"), std::string::npos) << error_;
  EXPECT_FALSE(fs::exists(dir_ / "bad.bin"));
  EXPECT_FALSE(fs::exists(dir_ / "bad.bin.partial"));
}

TEST_F(Bmp2RgnTool, RefusedShapeFailsWithTheMessage) {
  std::string row = ".";
  for (int i = 0; i < 102; ++i) row += "#.";
  Image image = region_test::PixelMap({row, std::string(row.size(), '.')});
  WriteFile(dir_ / "noisy.bmp", WriteBmpFile(image));
  EXPECT_EQ(Run(Quoted(dir_ / "noisy.bmp") + " " + Quoted(dir_ / "noisy.bin")), 1);
  EXPECT_NE(error_.find("ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です"), std::string::npos) << error_;
  EXPECT_FALSE(fs::exists(dir_ / "noisy.bin"));
}

TEST_F(Bmp2RgnTool, MissingInputFails) {
  EXPECT_EQ(Run(Quoted(dir_ / "absent.bmp") + " " + Quoted(dir_ / "absent.bin")), 1);
  EXPECT_NE(error_.find("absent.bmp"), std::string::npos) << error_;
  EXPECT_FALSE(fs::exists(dir_ / "absent.bin"));
}

TEST_F(Bmp2RgnTool, WrongUsage) {
  EXPECT_EQ(Run(""), 2);
  EXPECT_NE(error_.find("usage: bmp2rgn INPUT.bmp OUTPUT.bin"), std::string::npos) << error_;
  EXPECT_EQ(Run("a b c"), 2);
}

}  // namespace
