// The art compiler (build/host/artc) on small picture sources: what it writes for bitmaps and
// icons, and each fault reported with its file and line, nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "art_test_support.h"
#include "framework/core/bmp_file.h"

namespace {

namespace fs = std::filesystem;
using art_test::U16;
using art_test::U32;

const char* const kSource = R"(# two cells, an icon of two sizes and an opaque icon
key . 255 0 255  transparent
colour @ 0 0 0  black
colour o 255 128 0  orange

bitmap Strip 8 4 8
cells 4 4 state: off / on
at 0 0
.@@. .oo.
@..@ o..o
@..@ o..o
.@@. .oo.

icon Face 32
image 4 4
at 0 0
.@@.
@oo@
@oo@
.@@.

image 2 2
at 0 0
@o
o@

icon Tray 24
shown 2
image 3 3
at 0 0
@@@
@o@
@@@
)";

class PictureSource : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Dir() / "src");
    text_ = kSource;
  }
  const fs::path& Dir() const { return scratch_.Path(); }

  // The source with the first `from` replaced by `to`.
  void Change(const std::string& from, const std::string& to) {
    const size_t at = text_.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text_.replace(at, from.size(), to);
  }

  int Compile() {
    art_test::WriteText(Dir() / "src" / "Test.pic", text_);
    return art_test::RunArtc(Dir() / "src", Dir() / "out", errors_);
  }

  void ExpectFault(int line, const std::string& reason, const std::string& file = "Test.pic") {
    EXPECT_EQ(Compile(), 1);
    EXPECT_NE(errors_.find(file + ":" + std::to_string(line) + ": "), std::string::npos) << errors_;
    EXPECT_NE(errors_.find(reason), std::string::npos) << errors_;
    EXPECT_FALSE(fs::exists(Dir() / "out" / "pictures"));
  }

  std::vector<uint8_t> Output(const std::string& name) {
    return art_test::ReadBytes(Dir() / "out" / "pictures" / name);
  }

  art_test::ScratchFolder scratch_;
  std::string text_, errors_;
};

TEST_F(PictureSource, BitmapsAreWrittenWithAFullPalette) {
  ASSERT_EQ(Compile(), 0) << errors_;
  const std::vector<uint8_t> file = Output("Strip.bmp");
  ASSERT_EQ(file.size(), 14u + 40 + 1024 + 8 * 4);
  EXPECT_EQ(U32(file, 14 + 32), 0u);  // colours used: all 256
  const Image image = ReadBmpFile(file);
  EXPECT_EQ(image.Palette.size(), 256u);
  const PaletteEntry magenta{255, 0, 255, 0}, orange{0, 128, 255, 0}, black{};
  EXPECT_EQ(image.Colour(0, 3), magenta);
  EXPECT_EQ(image.Colour(4, 3), magenta);
  EXPECT_EQ(image.Colour(1, 0), black);
  EXPECT_EQ(image.Colour(5, 2), magenta);
  EXPECT_EQ(image.Colour(7, 2), orange);
  EXPECT_TRUE(fs::exists(Dir() / "out" / "contact-sheet-Test.png"));
}

TEST_F(PictureSource, IconsKeepTheirSizesDepthAndTransparency) {
  ASSERT_EQ(Compile(), 0) << errors_;
  const std::vector<uint8_t> face = Output("Face.ico");
  ASSERT_GE(face.size(), 6u + 2 * 16);
  EXPECT_EQ(U16(face, 2), 1);  // an icon
  ASSERT_EQ(U16(face, 4), 2);
  // The 4 x 4 image: 16 colour rows of 4 pixels, then 4 mask rows of 4 bytes.
  EXPECT_EQ(face[6], 4);
  EXPECT_EQ(face[7], 4);
  EXPECT_EQ(U16(face, 6 + 6), 32);
  const uint32_t size = U32(face, 6 + 8), offset = U32(face, 6 + 12);
  ASSERT_EQ(size, 40u + 4 * 4 * 4 + 4 * 4);
  ASSERT_LE(offset + size, face.size());
  EXPECT_EQ(U32(face, offset + 8), 8u);  // twice the height: colour and mask
  // Bottom-up: the first colour row is the bottom one, ".##.": clear, black, black, clear.
  const size_t pixels = offset + 40;
  EXPECT_EQ(face[pixels + 3], 0);
  EXPECT_EQ(face[pixels + 4 + 3], 255);
  EXPECT_EQ(face[pixels + 12 + 3], 0);
  const size_t mask = pixels + 4 * 4 * 4;
  for (int row = 0; row < 4; ++row)
    EXPECT_EQ(face[mask + 4 * row], row == 0 || row == 3 ? 0x90 : 0x00) << "mask row " << row;
  EXPECT_EQ(face[6 + 16], 2);  // the second image's entry

  const std::vector<uint8_t> tray = Output("Tray.ico");
  ASSERT_EQ(tray.size(), 6u + 16 + 40 + 3 * 12 + 3 * 4);
  EXPECT_EQ(U16(tray, 6 + 6), 24);
  for (size_t i = tray.size() - 12; i < tray.size(); ++i) EXPECT_EQ(tray[i], 0) << "mask byte";
}

TEST_F(PictureSource, TilesRepeatAndPastesCopyEarlierBitmaps) {
  text_ += R"(
bitmap Room 12 5 24
tile 0 0 12 5
o@
@o

paste Strip 3 1 grey
tile 0 4 12 1
.@@@@@@@@@@@
)";
  ASSERT_EQ(Compile(), 0) << errors_;
  const Image image = ReadBmpFile(Output("Room.bmp"));
  const PaletteEntry orange{0, 128, 255, 0}, black{}, magenta{255, 0, 255, 0};
  const PaletteEntry greyOfOrange{151, 151, 151, 0};  // 0.299 x 255 + 0.587 x 128 + 0.114 x 0
  EXPECT_EQ(image.Colour(0, 0), orange);
  EXPECT_EQ(image.Colour(1, 0), black);
  EXPECT_EQ(image.Colour(2, 0), orange);  // the tile starts again
  EXPECT_EQ(image.Colour(0, 1), black);
  EXPECT_EQ(image.Colour(11, 1), orange);
  // The strip over columns 3 to 10, rows 1 to 3 (its last row under the line), in greys.
  EXPECT_EQ(image.Colour(3, 1), magenta) << "the key stays the key";
  EXPECT_EQ(image.Colour(4, 1), black);
  EXPECT_EQ(image.Colour(8, 1), greyOfOrange);
  EXPECT_EQ(image.Colour(3, 2), black);
  EXPECT_EQ(image.Colour(0, 4), magenta) << "a bitmap's bottom-left pixel is the key";
  for (int x = 1; x < 12; ++x) EXPECT_EQ(image.Colour(x, 4), black) << x;
}

TEST_F(PictureSource, MapFaultsNameTheirLine) {
  Change("@..@ o..o\n@..@ o..o", "@..@ o..o\n@.x@ o..o");
  ExpectFault(11, "unknown colour letter 'x' in column 3");
  text_ = kSource;
  Change("@..@ o..o\n@..@ o..o", "@..@ o..o\n@..@ o..oo");
  ExpectFault(11, "row is 9 pixels wide; the map's first is 8");
  text_ = kSource;
  Change("image 2 2\nat 0 0", "image 2 2\nat 1 0");
  ExpectFault(24, "the map leaves the 2 x 2 picture");
}

TEST_F(PictureSource, PicturesMustBeWholeAndKeyedWhereTheProgramLooks) {
  Change(".@@. .oo.\n\n", "\n");
  ExpectFault(6, "pixel 0, 3 of Strip is not drawn");
  text_ = kSource;
  Change(".@@. .oo.\n\n", ".@@. ooo.\n\n");
  ExpectFault(6, "the bottom-left pixel 4, 3 of Strip must be the key colour '.'");
  text_ = kSource;
  Change("@@@\n@o@\n@@@", "@@@\n@o@\n@@.");
  ExpectFault(29, "pixel 2, 2 of Tray is the key; a 24-bit icon is opaque");
}

TEST_F(PictureSource, NamesAndHeaderLinesAreChecked) {
  Change("cells 4 4 state: off / on", "cells 3 4 state: off / on");
  ExpectFault(7, "3 x 4 cells do not tile the 8 x 4 picture");
  text_ = kSource;
  Change("icon Tray 24", "icon Face 24");
  ExpectFault(27, "picture Face defined twice, first at line 14");
  text_ = kSource;
  Change("icon Tray 24", "icon Tray 16");
  ExpectFault(27, "bits per pixel \"16\" is not a whole number from 24 to 32");
  text_ = std::string(kSource) + "\nbitmap Room 4 4 24\npaste Tray 0 0\n";
  ExpectFault(36, "paste takes a bitmap of this source drawn before; Tray is none");
  text_ = std::string(kSource) + "\nbitmap Room 4 4 24\npaste Strip 0 0\n";
  ExpectFault(36, "Strip leaves the 4 x 4 picture");
  text_ = kSource;
  Change("icon Tray 24", "icon Tray 28");
  ExpectFault(27, "bits per pixel must be 24 or 32");
  art_test::WriteText(Dir() / "src" / "Another.pic",
                      "colour @ 0 0 0 black\nbitmap Tray 1 1 24\nat 0 0\n@\n");
  text_ = kSource;
  ExpectFault(27, "picture Tray is also defined in another source");
}

}  // namespace
