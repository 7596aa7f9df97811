#include "region/core/region_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "region_test_support.h"

namespace {

using region_test::BoundOf;
using region_test::ExpectCanonical;
using region_test::PixelMap;
using region_test::RectsOf;
using region_test::U32;

// An 8-bit picture whose pixel (x, y) has index 1 where `inside` holds and 0 elsewhere; the
// bottom-left pixel must be outside, so index 0 is the key.
Image Shape(int width, int height, const std::function<bool(int, int)>& inside) {
  Image image = Image::Create(width, height, 8);
  image.Palette = {{255, 0, 255, 0}, {0, 0, 0, 0}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetIndex(x, y, inside(x, y) ? 1 : 0);
  return image;
}

// A 46 x 56 frame: 27 two-row bands over rows 1 to 54, alternately one run (8, 40) and one or
// two runs inside (10, 38): 32 rectangles.
bool FrameShape(int x, int y) {
  if (y < 1 || y > 54) return false;
  const int band = (y - 1) / 2;
  if (band % 2 == 0) return x >= 8 && x < 40;
  if (band <= 9) return (x >= 10 && x < 20) || (x >= 22 && x < 38);
  return x >= 10 && x < 38;
}

TEST(BmpToRgnData, FrameExample) {
  Image image = Shape(46, 56, FrameShape);
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  ASSERT_EQ(blob.size(), 544u);
  EXPECT_EQ(U32(blob, 0), 32u);
  EXPECT_EQ(U32(blob, 4), 1u);
  EXPECT_EQ(U32(blob, 8), 32u);
  EXPECT_EQ(U32(blob, 12), 512u);
  EXPECT_EQ(BoundOf(blob), (Rect{8, 1, 40, 55}));

  std::vector<Rect> expected;
  for (int band = 0; band < 27; ++band) {
    const int top = 1 + 2 * band, bottom = top + 2;
    if (band % 2 == 0) {
      expected.push_back({8, top, 40, bottom});
    } else if (band <= 9) {
      expected.push_back({10, top, 20, bottom});
      expected.push_back({22, top, 38, bottom});
    } else {
      expected.push_back({10, top, 38, bottom});
    }
  }
  EXPECT_EQ(RectsOf(blob), expected);
  EXPECT_EQ(ReadRegionData(blob), expected);
}

TEST(BmpToRgnData, AllKeyBitmapGivesTheEmptyBlob) {
  Image image = Shape(46, 56, [](int, int) { return false; });
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  std::vector<uint8_t> expected(32, 0);
  expected[0] = 32;
  expected[4] = 1;
  EXPECT_EQ(blob, expected);
  EXPECT_TRUE(ReadRegionData(blob).empty());
}

TEST(BmpToRgnData, TenEqualRowsMakeOneRectangle) {
  Image image = Shape(20, 30, [](int x, int y) { return y >= 10 && y < 20 && x >= 5 && x < 9; });
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{{5, 10, 9, 20}}));
}

TEST(BmpToRgnData, AnEmptyRowSplitsBands) {
  Image image = PixelMap({
      "......",
      ".##.#.",
      "......",
      ".##.#.",
      ".##.#.",
      "......",
  });
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{
                                              {1, 1, 3, 2},
                                              {4, 1, 5, 2},
                                              {1, 3, 3, 5},
                                              {4, 3, 5, 5},
                                          }));
}

TEST(BmpToRgnData, TouchingRowsWithOtherRunsAreOtherBands) {
  Image image = PixelMap({
      "#####.",
      "##.##.",
      "##.##.",
      "#####.",
      "......",
  });
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{
                                              {0, 0, 5, 1},
                                              {0, 1, 2, 3},
                                              {3, 1, 5, 3},
                                              {0, 3, 5, 4},
                                          }));
}

TEST(BmpToRgnData, TheBottomLeftPixelIsTheKeyEverywhere) {
  // Key index 2 ('a'); index 0 is an ordinary colour here, and key pixels inside the figure are
  // holes.
  Image image = PixelMap({
      "aaaa",
      "a..a",
      ".aa.",
      "aaaa",
  });
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{
                                              {1, 1, 3, 2},
                                              {0, 2, 1, 3},
                                              {3, 2, 4, 3},
                                          }));
}

TEST(BmpToRgnData, EqualColoursAtOtherIndicesAreOpaque) {
  // Indices 0 and 1 hold the same colour; only the key's index is transparent.
  Image image = PixelMap({"#..#", "...."}, {{9, 9, 9, 0}, {9, 9, 9, 0}});
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{{0, 0, 1, 1}, {3, 0, 4, 1}}));
}

TEST(BmpToRgnData, TwentyFourBitKeyComparesAllThreeBytes) {
  Image image = Image::Create(4, 2, 24);
  const PaletteEntry key{10, 20, 30, 0};
  for (int x = 0; x < 4; ++x) image.SetColour(x, 1, key);
  image.SetColour(0, 0, key);
  image.SetColour(1, 0, {10, 20, 31, 0});
  image.SetColour(2, 0, {11, 20, 30, 0});
  image.SetColour(3, 0, key);
  EXPECT_EQ(RectsOf(BmpToRgnData(image)), (std::vector<Rect>{{1, 0, 3, 1}}));
}

TEST(BmpToRgnData, FourBitBitmapIsStoredAsEightBit) {
  Image image = Image::Create(5, 3, 4);
  image.Palette.assign(16, {1, 2, 3, 0});
  image.SetIndex(2, 0, 7);
  image.SetIndex(4, 1, 15);
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  EXPECT_EQ(image.BitsPerPixel, 8);
  EXPECT_EQ(image.Palette.size(), 16u);
  EXPECT_EQ(image.Index(2, 0), 7);
  EXPECT_EQ(image.Index(4, 1), 15);
  EXPECT_EQ(RectsOf(blob), (std::vector<Rect>{{2, 0, 3, 1}, {4, 1, 5, 2}}));
}

TEST(BmpToRgnData, ThirtyTwoBitBitmapIsStoredAsTwentyFourBit) {
  Image image = Image::Create(3, 2, 32);
  image.SetColour(1, 0, {1, 2, 3, 0});
  image.Pixels[3] = 0xFF;  // the unused fourth byte does not count
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  EXPECT_EQ(image.BitsPerPixel, 24);
  EXPECT_EQ(image.Colour(1, 0), (PaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(RectsOf(blob), (std::vector<Rect>{{1, 0, 2, 1}}));
}

// A picture whose middle row is a transparent pixel, `runs` times an opaque and a transparent
// pixel, then `tail`; every other pixel is transparent.
Image RunRow(int runs, const std::string& tail, int height = 1) {
  std::string row = ".";
  for (int i = 0; i < runs; ++i) row += "#.";
  row += tail;
  Image image = Image::Create(static_cast<int>(row.size()), height, 8);
  image.Palette = {{0, 0, 0, 0}, {1, 1, 1, 0}};
  for (int x = 0; x < image.Width; ++x) image.SetIndex(x, height / 2, row[x] == '#' ? 1 : 0);
  return image;
}

// The outcome of making the blob of (a copy of) `image`.
std::string Made(Image image) {
  return region_test::Outcome([&] { BmpToRgnData(image); });
}

TEST(BmpToRgnData, HundredAndOneRunsOnlyUpToTheRowEnd) {
  const std::string refused = "EInvalidGraphic: ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です";
  // 101 runs, the last followed by exactly one transparent pixel at the edge: accepted.
  Image oneAfter = RunRow(101, "");
  EXPECT_EQ(RectsOf(BmpToRgnData(oneAfter)).size(), 101u);
  // 101 runs, the last one ending at the edge: accepted.
  Image atEdge = RunRow(100, "#");
  EXPECT_EQ(RectsOf(BmpToRgnData(atEdge)).size(), 101u);
  // 101 runs, then two transparent pixels: refused although nothing more is opaque.
  EXPECT_EQ(Made(RunRow(101, ".")), refused);
  // 102 runs: refused.
  EXPECT_EQ(Made(RunRow(102, "")), refused);
  // 100 runs and a long transparent tail: accepted.
  EXPECT_EQ(Made(RunRow(100, "..........")), "(accepted)");
  // The limit holds in any row, and in 24-bit bitmaps too.
  EXPECT_EQ(Made(RunRow(101, ".", 5)), refused);
  Image wide = RunRow(101, ".", 3);
  NormalizePixelFormat(wide);
  Image deep = Image::Create(wide.Width, wide.Height, 24);
  for (int y = 0; y < wide.Height; ++y)
    for (int x = 0; x < wide.Width; ++x)
      if (wide.Index(x, y)) deep.SetColour(x, y, {0, 0, 1, 0});
  EXPECT_EQ(Made(deep), refused);
  EXPECT_THROW(ScanRuns(deep), EInvalidGraphic);
}

TEST(BmpToRgnData, RefusedBitmaps) {
  const std::string notSet = "EInvalidGraphic: ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません";
  const std::string zero = "EInvalidGraphic: 幅または高さが 0 です";
  EXPECT_EQ(Made(Image{}), notSet);
  EXPECT_EQ(Made(Image::Create(0, 0, 8)), notSet);
  EXPECT_EQ(Made(Image::Create(0, 5, 8)), zero);
  EXPECT_EQ(Made(Image::Create(5, 0, 24)), zero);
  Image shortPixels = Image::Create(4, 4, 8);
  shortPixels.Pixels.pop_back();
  EXPECT_EQ(Made(shortPixels), notSet);
  Image noDepth = Image::Create(4, 4, 8);
  noDepth.BitsPerPixel = 2;
  EXPECT_EQ(Made(noDepth), notSet);
}

TEST(ScanRuns, RunsPerRowAndDepthRequirement) {
  Image image = PixelMap({"#.##.", ".....", "..###", "....."});
  EXPECT_EQ(ScanRuns(image), (RowRuns{{{0, 1}, {2, 4}}, {}, {{2, 5}}, {}}));
  Image fourBits = Image::Create(2, 2, 4);
  EXPECT_THROW(ScanRuns(fourBits), std::invalid_argument);
}

TEST(WriteRegionData, MergesUnsortedAndTouchingRuns) {
  const RowRuns rows{{{5, 8}, {0, 3}, {3, 4}, {9, 9}}, {{0, 4}, {5, 8}}, {}, {{2, 3}}};
  EXPECT_EQ(RectsOf(WriteRegionData(rows)),
            (std::vector<Rect>{{0, 0, 4, 2}, {5, 0, 8, 2}, {2, 3, 3, 4}}));
  EXPECT_EQ(WriteRegionData({}).size(), 32u);
}

TEST(WriteRegionData, EqualsTheWholeRoutine) {
  Image image = Shape(46, 56, FrameShape);
  EXPECT_EQ(WriteRegionData(ScanRuns(image)), BmpToRgnData(image));
}

TEST(ReadRegionData, RefusesMalformedHeaders) {
  Image image = PixelMap({"#.#", "..."});
  const std::vector<uint8_t> good = BmpToRgnData(image);
  ASSERT_EQ(good.size(), 64u);
  ASSERT_EQ(ReadRegionData(good), (std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
  auto withWord = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> blob = good;
    for (int i = 0; i < 4; ++i) blob[at + i] = uint8_t(value >> (8 * i));
    return blob;
  };
  EXPECT_THROW(ReadRegionData(withWord(0, 31)), EConvertError);
  EXPECT_THROW(ReadRegionData(withWord(4, 2)), EConvertError);
  EXPECT_THROW(ReadRegionData(withWord(8, 3)), EConvertError);
  EXPECT_THROW(ReadRegionData(withWord(12, 48)), EConvertError);
  EXPECT_THROW(ReadRegionData(withWord(8, 0x10000002)), EConvertError);  // 16 n wraps to 32
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_THROW(ReadRegionData(longer), EConvertError);
  for (size_t length = 0; length < good.size(); ++length)
    EXPECT_THROW(ReadRegionData(std::vector<uint8_t>(good.begin(), good.begin() + length)),
                 EConvertError)
        << length;
  // The bound is not checked.
  EXPECT_NO_THROW(ReadRegionData(withWord(16, 77)));
}

TEST(ReadRegionData, CanonicalBlobsFromEveryPath) {
  Image image = Shape(46, 56, FrameShape);
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  ExpectCanonical(blob);
  EXPECT_EQ(Region::FromBlob(blob).ToBlob(), blob);
}

}  // namespace
