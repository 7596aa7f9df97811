// The check box glyph strip as the program stores it: the bitmap resource "CHECKBOX" is the
// compiled file without its 14-byte file header.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "art_test_support.h"
#include "framework/core/bmp_file.h"

namespace {

using art_test::I32;
using art_test::U16;
using art_test::U32;

constexpr int kCell = 18, kCells = 56, kStates = 4;
constexpr size_t kFileHeader = 14, kResourceSize = 19208, kPixelOffset = 1064;

const PaletteEntry kMagenta{255, 0, 255, 0};  // blue, green, red
const PaletteEntry kWhite{255, 255, 255, 0};
const PaletteEntry kBlack{0, 0, 0, 0};
const PaletteEntry kDarkGrey{128, 128, 128, 0};
const PaletteEntry kSilver{192, 192, 192, 0};
const PaletteEntry kDisabledFace{164, 160, 160, 0};
const PaletteEntry kBlue{255, 0, 0, 0};
const PaletteEntry kNavy{128, 0, 0, 0};

struct Strip {
  std::vector<uint8_t> File;
  std::span<const uint8_t> Resource;
  Image Bitmap;
  const PaletteEntry At(int cell, int x, int y) const { return Bitmap.Colour(cell * kCell + x, y); }
};

const Strip& TheStrip() {
  static const Strip strip = [] {
    Strip s;
    s.File = art_test::ReadBytes(art_test::ArtDir() / "pictures" / "CHECKBOX.bmp");
    if (s.File.size() > kFileHeader) {
      s.Resource = std::span<const uint8_t>(s.File).subspan(kFileHeader);
      s.Bitmap = ReadBmpFile(s.File);
    }
    return s;
  }();
  return strip;
}

std::string Name(int cell) {
  return "style " + std::to_string(cell / kStates + 1) + " state " + std::to_string(cell % kStates);
}

TEST(GlyphStrip, ResourceHasTheStoredLayout) {
  const Strip& strip = TheStrip();
  ASSERT_EQ(strip.File.size(), kFileHeader + kResourceSize);
  EXPECT_EQ(strip.File[0], 'B');
  EXPECT_EQ(strip.File[1], 'M');
  EXPECT_EQ(U32(strip.File, 10), kFileHeader + kPixelOffset);  // the pixels follow the palette
  const std::span<const uint8_t> r = strip.Resource;
  EXPECT_EQ(U32(r, 0), 40u);
  EXPECT_EQ(I32(r, 4), 1008);
  EXPECT_EQ(I32(r, 8), 18);
  EXPECT_EQ(U16(r, 12), 1);
  EXPECT_EQ(U16(r, 14), 8);
  EXPECT_EQ(U32(r, 16), 0u);
  EXPECT_EQ(U32(r, 20), 18144u);
  EXPECT_EQ(U32(r, 24), 0u);
  EXPECT_EQ(U32(r, 28), 0u);
  EXPECT_EQ(U32(r, 32), 0u);  // a full palette of 256 entries
  EXPECT_EQ(U32(r, 36), 0u);
  ASSERT_EQ(strip.Bitmap.Palette.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(r[40 + 4 * i + 3], 0) << "entry " << i;
}

TEST(GlyphStrip, EveryCellsBottomLeftPixelIsMagenta) {
  const Strip& strip = TheStrip();
  ASSERT_EQ(strip.Bitmap.Width, kCell * kCells);
  // Bottom-up rows: the first stored row is the cells' bottom row.
  for (int cell = 0; cell < kCells; ++cell) {
    EXPECT_EQ(strip.Bitmap.Palette.at(strip.Resource[kPixelOffset + cell * kCell]), kMagenta)
        << Name(cell);
    EXPECT_EQ(strip.At(cell, 0, kCell - 1), kMagenta) << Name(cell);
  }
}

// Style 1: the sunken box in columns 0-13, rows 2-15; light lines at the bottom and right.
TEST(GlyphStrip, StyleOneIsTheSunkenBox) {
  const Strip& strip = TheStrip();
  ASSERT_FALSE(strip.Bitmap.Empty());
  const std::set<PaletteEntry> tickColours{kBlue, kNavy, kDarkGrey, kWhite};
  for (int state = 0; state < kStates; ++state) {
    SCOPED_TRACE(Name(state));
    const bool checked = state % 2 == 1, disabled = state >= 2;
    // The tick crosses the right edges near the top-right corner; elsewhere the edges are exact.
    auto edge = [&](int x, int y, PaletteEntry colour) {
      const PaletteEntry at = strip.At(state, x, y);
      if (checked && x >= 12 && y <= 8 && at != colour)
        EXPECT_TRUE(at == (disabled ? kDarkGrey : kBlue) || at == (disabled ? kWhite : kNavy) ||
                    at == kDarkGrey)
            << x << "," << y;
      else
        EXPECT_EQ(at, colour) << x << "," << y;
    };
    for (int x = 0; x <= 12; ++x) edge(x, 2, kDarkGrey);
    for (int y = 2; y <= 14; ++y) edge(0, y, kDarkGrey);
    for (int x = 1; x <= 11; ++x) edge(x, 3, kBlack);
    for (int y = 3; y <= 13; ++y) edge(1, y, kBlack);
    for (int x = 1; x <= 12; ++x) edge(x, 14, kSilver);
    for (int y = 3; y <= 14; ++y) edge(12, y, kSilver);
    for (int x = 0; x <= 13; ++x) edge(x, 15, kWhite);
    for (int y = 2; y <= 15; ++y) edge(13, y, kWhite);

    const PaletteEntry face = disabled ? kDisabledFace : kWhite;
    int tickPixels = 0;
    for (int y = 4; y <= 13; ++y)
      for (int x = 2; x <= 11; ++x) {
        const PaletteEntry at = strip.At(state, x, y);
        if (!checked) {
          EXPECT_EQ(at, face) << x << "," << y;
        } else if (at != face) {
          EXPECT_EQ(tickColours.count(at), 1u) << x << "," << y;
          ++tickPixels;
        }
      }
    // Around the box: transparent, but for the tick's end.
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        if ((x >= 14 || y <= 1 || y >= 16) && !(checked && x <= 16 && y >= 2 && y <= 6))
          EXPECT_EQ(strip.At(state, x, y), kMagenta) << x << "," << y;
    if (!checked) continue;

    EXPECT_GE(tickPixels, 20);
    const PaletteEntry tick = disabled ? kDarkGrey : kBlue;
    // From the left middle, down to the lower middle, up to column 15, row 2.
    EXPECT_EQ(strip.At(state, 3, 8), tick);
    EXPECT_EQ(strip.At(state, 15, 2), tick);
    int lowest = 0, lowestColumn = 0;
    for (int x = 2; x <= 11; ++x)
      for (int y = 4; y <= 13; ++y)
        if (strip.At(state, x, y) != face && strip.At(state, x, y) != kDarkGrey && y > lowest)
          lowest = y, lowestColumn = x;
    if (!disabled) {
      EXPECT_GE(lowest, 12);
      EXPECT_GE(lowestColumn, 5);
      EXPECT_LE(lowestColumn, 7);
    }
    // Enabled in blue and navy with a grey shadow on its right; disabled in grey only.
    int blue = 0, navy = 0, shadow = 0;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) {
        const PaletteEntry at = strip.At(state, x, y);
        blue += at == kBlue;
        navy += at == kNavy;
        shadow += at == kDarkGrey && x > 0 && y > 2 &&
                  (strip.At(state, x - 1, y) == kNavy || strip.At(state, x - 1, y) == kBlue);
      }
    if (disabled) {
      EXPECT_EQ(blue + navy, 0);
    } else {
      EXPECT_GT(blue, 10);
      EXPECT_GT(navy, 5);
      EXPECT_GE(shadow, 8);
    }
  }
}

// Each style tells its four states apart, and its disabled cells are greyed.
TEST(GlyphStrip, StatesDifferAtAGlanceAndDisabledCellsAreGrey) {
  const Strip& strip = TheStrip();
  ASSERT_FALSE(strip.Bitmap.Empty());
  auto differing = [&](int a, int b) {
    int count = 0;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) count += strip.At(a, x, y) != strip.At(b, x, y);
    return count;
  };
  for (int style = 0; style < kCells / kStates; ++style) {
    const int first = style * kStates;
    SCOPED_TRACE(Name(first));
    EXPECT_GE(differing(first, first + 1), 9) << "checked against unchecked";
    EXPECT_GE(differing(first + 2, first + 3), 9) << "checked against unchecked, disabled";
    EXPECT_GE(differing(first, first + 2), 20) << "enabled against disabled";
    EXPECT_GE(differing(first + 1, first + 3), 20) << "enabled against disabled";
    for (int state = 2; state < kStates; ++state)
      for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
          const PaletteEntry c = strip.At(first + state, x, y);
          if (c == kMagenta) continue;
          EXPECT_LE(std::max({c.Red, c.Green, c.Blue}) - std::min({c.Red, c.Green, c.Blue}), 4)
              << Name(first + state) << " at " << x << "," << y;
        }
  }
}

}  // namespace
