// Random bitmaps: the blob made from a bitmap is canonical and, read back, holds exactly the
// pixels that differ from the bottom-left one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "region/core/region_data.h"
#include "region_test_support.h"

namespace {

// A picture of random rectangles (so that bands form) over a background, with random noise;
// 8-bit pictures use few indices, 24-bit ones few colours that differ in one byte.
Image RandomPicture(std::mt19937& random) {
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const bool deep = between(0, 2) == 0;
  const int width = between(1, 40), height = between(1, 40), colours = between(1, 4);
  Image image = Image::Create(width, height, deep ? 24 : 8);
  if (!deep) image.Palette.assign(colours, {7, 7, 7, 0});
  auto paint = [&](int x, int y, int colour) {
    if (deep)
      image.SetColour(x, y, {uint8_t(colour == 1), uint8_t(colour == 2), uint8_t(colour == 3), 0});
    else
      image.SetIndex(x, y, uint8_t(colour));
  };
  const int background = between(0, colours - 1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) paint(x, y, background);
  for (int shapes = between(0, 6); shapes > 0; --shapes) {
    const int left = between(0, width - 1), top = between(0, height - 1);
    const int right = between(left + 1, width), bottom = between(top + 1, height);
    const int colour = between(0, colours - 1);
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) paint(x, y, colour);
  }
  const int noise = between(0, 3) == 0 ? width * height / 3 : between(0, 4);
  for (int i = 0; i < noise; ++i)
    paint(between(0, width - 1), between(0, height - 1), between(0, colours - 1));
  return image;
}

TEST(RegionProperty, BlobHoldsExactlyTheNonKeyPixels) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    Image image = RandomPicture(random);
    SCOPED_TRACE("round " + std::to_string(round) + ": " + std::to_string(image.Width) + " x " +
                 std::to_string(image.Height) + " at " + std::to_string(image.BitsPerPixel));
    const PaletteEntry key = image.Colour(0, image.Height - 1);
    const uint8_t keyIndex = image.BitsPerPixel == 8 ? image.Index(0, image.Height - 1) : 0;
    auto opaque = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return false;
      return image.BitsPerPixel == 8 ? image.Index(x, y) != keyIndex : !(image.Colour(x, y) == key);
    };

    const std::vector<uint8_t> blob = WriteRegionData(ScanRuns(image));
    region_test::ExpectCanonical(blob);
    Image copy = image;
    EXPECT_EQ(BmpToRgnData(copy), blob);

    const Region region = Region::FromBlob(blob);
    std::vector<Rect> pixels;
    for (int y = -1; y <= image.Height; ++y)
      for (int x = -1; x <= image.Width; ++x) {
        ASSERT_EQ(region.Contains(x, y), opaque(x, y)) << "pixel " << x << ", " << y;
        if (opaque(x, y)) pixels.push_back({x, y, x + 1, y + 1});
      }
    // The same set assembled pixel by pixel, and in two random halves, gives the same blob.
    EXPECT_EQ(Region::FromRects(pixels).ToBlob(), blob);
    std::shuffle(pixels.begin(), pixels.end(), random);
    const size_t half = pixels.size() / 2;
    Region united = Region::FromRects(std::span(pixels).first(half));
    united.Unite(Region::FromRects(std::span(pixels).subspan(half)));
    EXPECT_EQ(united.ToBlob(), blob);
  }
}

}  // namespace
