// The art compiler (build/host/artc) on damaged copies of a real character source: each fault is
// reported with its file and line, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "art_test_support.h"

namespace {

namespace fs = std::filesystem;
using art_test::ReadText;
using art_test::WriteText;

class ArtSource : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = scratch_.Path();
    fs::create_directories(dir_ / "src");
    WriteText(dir_ / "src" / "characters.txt", "Plim\n");
    std::istringstream text(ReadText(fs::path(TIVOLU_SOURCE_DIR) / "assets/art/Plim.art"));
    for (std::string line; std::getline(text, line);) lines_.push_back(line);
    ASSERT_GT(lines_.size(), 12u * 32u);
  }

  // 1-based number of the first line equal to `text`.
  int LineOf(const std::string& text) const {
    for (size_t i = 0; i < lines_.size(); ++i)
      if (lines_[i] == text) return int(i) + 1;
    ADD_FAILURE() << "no line " << text;
    return 0;
  }
  int LineStarting(const std::string& prefix) const {
    for (size_t i = 0; i < lines_.size(); ++i)
      if (lines_[i].starts_with(prefix)) return int(i) + 1;
    ADD_FAILURE() << "no line starting " << prefix;
    return 0;
  }
  std::string& Line(int number) { return lines_.at(number - 1); }

  // Runs artc on the (changed) lines; returns its exit code and keeps its error output.
  int Compile() {
    std::string joined;
    for (const std::string& line : lines_) joined += line + "\n";
    WriteText(dir_ / "src" / "Plim.art", joined);
    return art_test::RunArtc(dir_ / "src", dir_ / "out", errors_);
  }

  // The run failed, named the file and line and said `reason`, and wrote no frame.
  void ExpectFault(int line, const std::string& reason) {
    EXPECT_EQ(Compile(), 1);
    EXPECT_NE(errors_.find("Plim.art:" + std::to_string(line) + ": "), std::string::npos)
        << errors_;
    EXPECT_NE(errors_.find(reason), std::string::npos) << errors_;
    EXPECT_FALSE(fs::exists(dir_ / "out" / "Plim"));
  }

  art_test::ScratchFolder scratch_;
  fs::path dir_;
  std::vector<std::string> lines_;
  std::string errors_;
};

TEST_F(ArtSource, IntactCopyCompiles) {
  ASSERT_EQ(Compile(), 0) << errors_;
  for (int n = 1; n <= 12; ++n) {
    EXPECT_TRUE(fs::exists(dir_ / "out" / "Plim" / ("Rgn" + std::to_string(n) + ".bmp")));
    EXPECT_TRUE(fs::exists(dir_ / "out" / "Plim" / ("Rgn" + std::to_string(n) + ".rgn")));
  }
  EXPECT_TRUE(fs::exists(dir_ / "out" / "contact-sheet.png"));
}

TEST_F(ArtSource, FramesOfTheWrongSizeAreRejected) {
  const int row = LineOf("frame Rgn3") + 5;
  Line(row) += Line(row).substr(0, 1);
  ExpectFault(row, "row is 25 pixels wide; frames are 24 x 32");
}

TEST_F(ArtSource, MissingRowsAreRejected) {
  const int frame = LineOf("frame Rgn5");
  lines_.erase(lines_.begin() + frame + 3);
  ExpectFault(frame, "frame Rgn5 has 31 rows");
}

TEST_F(ArtSource, FigureColoursMustDifferFromTheKey) {
  const int colour = LineStarting("colour W");
  Line(colour) = "colour W 0 136 221  white fur";
  ExpectFault(colour, "is the key colour");
}

TEST_F(ArtSource, PaletteMustNotOutgrowItsSize) {
  Line(LineOf("palette 22")) = "palette 6";
  ExpectFault(LineStarting("colour ") + 5, "does not fit: the palette holds 6 entries");
}

TEST_F(ArtSource, UnknownLettersAreRejected) {
  const int row = LineOf("frame Rgn9") + 10;
  Line(row)[3] = 'Z';
  ExpectFault(row, "unknown colour letter 'Z' in column 4");
}

TEST_F(ArtSource, BottomLeftPixelMustBeTheKey) {
  const int lastRow = LineOf("frame Rgn1") + 32;
  Line(lastRow)[0] = 'W';
  ExpectFault(lastRow, "bottom-left pixel of Rgn1");
}

TEST_F(ArtSource, FramesMustBeTheirOwnPictures) {
  const int second = LineOf("frame Rgn2");
  for (int row = 1; row <= 32; ++row) Line(second + row) = Line(LineOf("frame Rgn1") + row);
  ExpectFault(second, "frame Rgn2 is the same picture as Rgn1");
}

TEST_F(ArtSource, MissingFramesAreRejected) {
  lines_.resize(LineOf("frame Rgn12") - 2);
  ExpectFault(int(lines_.size()), "frame Rgn12 is missing");
}

TEST_F(ArtSource, MalformedHeaderLinesAreRejected) {
  Line(LineOf("palette 22")) = "palette 300";
  ExpectFault(LineOf("palette 300"), "palette size \"300\" is not a whole number from 2 to 256");
  Line(LineOf("palette 300")) = "pallete 22";
  ExpectFault(LineOf("pallete 22"), "unknown line");
}

}  // namespace
