// The compiled character frames in build/art: bitmap layout, outlines, and the pictures
// themselves. Run scripts/art.sh (make art) before these tests.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "art_test_support.h"
#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"

namespace {

namespace fs = std::filesystem;
using art_test::ArtDir;
using art_test::ReadBytes;
using art_test::U16;
using art_test::U32;

struct Character {
  const char* Name;
  int Width, Height;
  int PaletteEntries;
  PaletteEntry Key;  // blue, green, red
};

const std::array<Character, 4> kCharacters{{
    {"Mubo", 46, 56, 256, {3, 161, 51, 0}},
    {"Tesk", 24, 32, 190, {221, 62, 0, 0}},
    {"Plim", 24, 32, 22, {221, 136, 0, 0}},
    {"Quarn", 24, 32, 21, {221, 136, 0, 0}},
}};
constexpr int kFrames = 12;

struct Frame {
  const Character* Owner;
  std::string Name;  // "Tesk Rgn3"
  std::vector<uint8_t> File, Blob;
  Image Bitmap;
  bool Figure(int x, int y) const {
    return Bitmap.Index(x, y) != Bitmap.Index(0, Bitmap.Height - 1);
  }
};

const std::vector<Frame>& Frames() {
  static const std::vector<Frame> frames = [] {
    std::vector<Frame> all;
    for (const Character& character : kCharacters)
      for (int n = 1; n <= kFrames; ++n) {
        const fs::path base = ArtDir() / character.Name / ("Rgn" + std::to_string(n));
        Frame frame{&character,
                    std::string(character.Name) + " Rgn" + std::to_string(n),
                    ReadBytes(fs::path(base) += ".bmp"),
                    ReadBytes(fs::path(base) += ".rgn"),
                    {}};
        if (!frame.File.empty()) frame.Bitmap = ReadBmpFile(frame.File);
        all.push_back(std::move(frame));
      }
    return all;
  }();
  return frames;
}

TEST(ArtFrames, BitmapsHaveTheStoredLayout) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.Name);
    const Character& c = *frame.Owner;
    const std::vector<uint8_t>& f = frame.File;
    ASSERT_GE(f.size(), 54u);
    const uint32_t rowSize = (c.Width + 3) / 4 * 4;
    const uint32_t pixelOffset = 14 + 40 + 4 * c.PaletteEntries;
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), f.size());
    EXPECT_EQ(U32(f, 6), 0u);
    EXPECT_EQ(U32(f, 10), pixelOffset);
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(int32_t(U32(f, 18)), c.Width);
    EXPECT_EQ(int32_t(U32(f, 22)), c.Height);  // positive: bottom-up
    EXPECT_EQ(U16(f, 26), 1);
    EXPECT_EQ(U16(f, 28), 8);
    EXPECT_EQ(U32(f, 30), 0u);
    EXPECT_EQ(U32(f, 34), rowSize * c.Height);
    EXPECT_EQ(U32(f, 46), uint32_t(c.PaletteEntries));
    EXPECT_EQ(U32(f, 50), 0u);
    ASSERT_EQ(f.size(), pixelOffset + rowSize * c.Height);
    for (int i = 0; i < c.PaletteEntries; ++i) EXPECT_EQ(f[54 + 4 * i + 3], 0) << "entry " << i;
    for (int row = 0; row < c.Height; ++row)
      for (uint32_t x = c.Width; x < rowSize; ++x) EXPECT_EQ(f[pixelOffset + row * rowSize + x], 0);

    // The first stored row is the bottom one: its first pixel is the key.
    const uint8_t bottomLeft = f[pixelOffset];
    EXPECT_EQ(frame.Bitmap.Palette.at(bottomLeft), c.Key);
  }
}

TEST(ArtFrames, PalettesKeepTheKeyApartFromTheFigure) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.Name);
    const Image& image = frame.Bitmap;
    ASSERT_EQ(int(image.Palette.size()), frame.Owner->PaletteEntries);
    // Distinct entries: the key colour appears once, so a figure pixel can never show it.
    for (size_t i = 0; i < image.Palette.size(); ++i)
      for (size_t j = i + 1; j < image.Palette.size(); ++j)
        ASSERT_FALSE(image.Palette[i] == image.Palette[j]) << "entries " << i << " and " << j;
    int figurePixels = 0;
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        if (frame.Figure(x, y)) {
          ++figurePixels;
          EXPECT_FALSE(image.Colour(x, y) == frame.Owner->Key) << x << "," << y;
        }
    // The figure fills its frame reasonably.
    EXPECT_GT(figurePixels, image.Width * image.Height / 4);
  }
}

TEST(ArtFrames, OutlinesAreTheCanonicalBlobsOfTheBitmaps) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.Name);
    Image copy = frame.Bitmap;
    EXPECT_EQ(frame.Blob, BmpToRgnData(copy));
    const Region outline = Region::FromBlob(frame.Blob);
    for (int y = 0; y < frame.Bitmap.Height; ++y)
      for (int x = 0; x < frame.Bitmap.Width; ++x)
        ASSERT_EQ(outline.Contains(x, y), frame.Figure(x, y)) << x << "," << y;
    const size_t rectangles = ReadRegionData(frame.Blob).size();
    EXPECT_GE(rectangles, 10u);
    EXPECT_LE(rectangles, 100u);
  }
}

TEST(ArtFrames, NoTwoFramesAreEqual) {
  auto colours = [](const Image& image) {
    std::vector<PaletteEntry> all;
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) all.push_back(image.Colour(x, y));
    return all;
  };
  const std::vector<Frame>& frames = Frames();
  for (size_t i = 0; i < frames.size(); ++i)
    for (size_t j = i + 1; j < frames.size(); ++j)
      if (frames[i].Bitmap.Width == frames[j].Bitmap.Width &&
          frames[i].Bitmap.Height == frames[j].Bitmap.Height)
        EXPECT_NE(colours(frames[i].Bitmap), colours(frames[j].Bitmap))
            << frames[i].Name << " equals " << frames[j].Name;
}

// One 4-connected figure: no pixel or part floats away from the body.
TEST(ArtFrames, FiguresAreInOnePiece) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.Name);
    const int w = frame.Bitmap.Width, h = frame.Bitmap.Height;
    std::vector<bool> reached(size_t(w) * h);
    std::vector<std::pair<int, int>> pending;
    int figure = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (frame.Figure(x, y) && figure++ == 0) pending.emplace_back(x, y);
    int count = 0;
    while (!pending.empty()) {
      auto [x, y] = pending.back();
      pending.pop_back();
      if (x < 0 || y < 0 || x >= w || y >= h || reached[y * w + x] || !frame.Figure(x, y)) continue;
      reached[y * w + x] = true;
      ++count;
      pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    EXPECT_EQ(count, figure);
  }
}

// A click between the rabbit's ears must reach the window below: every frame shows key-coloured
// pixels between its two ears.
TEST(ArtFrames, RabbitsEarsStandApart) {
  for (const Frame& frame : Frames()) {
    if (std::string(frame.Owner->Name) != "Tesk") continue;
    SCOPED_TRACE(frame.Name);
    int rowsWithAGap = 0;
    for (int y = 0; y < frame.Bitmap.Height / 4; ++y) {
      int runs = 0;
      for (int x = 0; x < frame.Bitmap.Width; ++x)
        if (frame.Figure(x, y) && (x == 0 || !frame.Figure(x - 1, y))) ++runs;
      rowsWithAGap += runs >= 2;
    }
    EXPECT_GE(rowsWithAGap, 3);
  }
}

}  // namespace
