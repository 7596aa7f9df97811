// The program's icon (MAINICON: Mubo's face at 16, 32, 48, 64 and 96 pixels) and the
// notification-area icon's picture (TrayIcon: 29 x 29, 24-bit, opaque), as icon files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "art_test_support.h"
#include "framework/core/bmp_file.h"

namespace {

using art_test::I32;
using art_test::U16;
using art_test::U32;

const PaletteEntry kOutline{30, 36, 58, 0};  // blue, green, red
const PaletteEntry kYellow{52, 199, 247, 0};
const PaletteEntry kRed{42, 38, 204, 0};
const PaletteEntry kTrayBackground{200, 96, 56, 0};

// One image of an icon file, read by hand from its directory entry and header.
struct IconImage {
  int Width = 0, Height = 0, Bits = 0;
  std::vector<PaletteEntry> Colours;  // rows top-down
  std::vector<bool> Clear;            // the mask's bit
  std::vector<int> Alpha;             // 32-bit images only
  PaletteEntry At(int x, int y) const { return Colours[size_t(y) * Width + x]; }
  bool ClearAt(int x, int y) const { return Clear[size_t(y) * Width + x]; }
};

std::vector<IconImage> ReadIcon(const std::vector<uint8_t>& file) {
  std::vector<IconImage> images;
  EXPECT_GE(file.size(), 6u);
  if (file.size() < 6) return images;
  EXPECT_EQ(U16(file, 0), 0);
  EXPECT_EQ(U16(file, 2), 1);  // an icon
  const int count = U16(file, 4);
  std::vector<std::pair<uint32_t, uint32_t>> spans;
  for (int i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * size_t(i);
    if (entry + 16 > file.size()) {
      ADD_FAILURE() << "directory cut short";
      break;
    }
    IconImage image;
    image.Width = file[entry] ? file[entry] : 256;
    image.Height = file[entry + 1] ? file[entry + 1] : 256;
    EXPECT_EQ(file[entry + 2], 0) << "no palette";
    EXPECT_EQ(file[entry + 3], 0);
    EXPECT_EQ(U16(file, entry + 4), 1);
    image.Bits = U16(file, entry + 6);
    const uint32_t size = U32(file, entry + 8), offset = U32(file, entry + 12);
    const uint32_t colourRow = (uint32_t(image.Width) * image.Bits + 31) / 32 * 4;
    const uint32_t maskRow = (uint32_t(image.Width) + 31) / 32 * 4;
    EXPECT_EQ(size, 40 + (colourRow + maskRow) * image.Height);
    if (uint64_t(offset) + size > file.size()) {
      ADD_FAILURE() << "image " << i << " lies outside the file";
      break;
    }
    spans.emplace_back(offset, offset + size);
    EXPECT_EQ(U32(file, offset), 40u);
    EXPECT_EQ(I32(file, offset + 4), image.Width);
    EXPECT_EQ(I32(file, offset + 8), 2 * image.Height);
    EXPECT_EQ(U16(file, offset + 12), 1);
    EXPECT_EQ(U16(file, offset + 14), image.Bits);
    EXPECT_EQ(U32(file, offset + 16), 0u);
    const size_t pixels = offset + 40, mask = pixels + size_t(colourRow) * image.Height;
    const int step = image.Bits / 8;
    for (int y = 0; y < image.Height; ++y) {
      const int row = image.Height - 1 - y;  // bottom-up
      for (int x = 0; x < image.Width; ++x) {
        const size_t at = pixels + size_t(row) * colourRow + size_t(x) * step;
        image.Colours.push_back({file[at], file[at + 1], file[at + 2], 0});
        if (step == 4) image.Alpha.push_back(file[at + 3]);
        image.Clear.push_back(file[mask + size_t(row) * maskRow + x / 8] & (0x80 >> (x % 8)));
      }
    }
    images.push_back(std::move(image));
  }
  // The images follow the directory one after the other.
  uint32_t next = 6 + 16 * uint32_t(count);
  for (const auto& [start, end] : spans) {
    EXPECT_EQ(start, next);
    next = end;
  }
  EXPECT_EQ(next, file.size());
  return images;
}

TEST(Icons, ProgramIconIsMubosFaceAtFiveSizes) {
  const std::vector<IconImage> images =
      ReadIcon(art_test::ReadBytes(art_test::ArtDir() / "pictures" / "MAINICON.ico"));
  std::multiset<int> sizes;
  for (const IconImage& image : images) {
    SCOPED_TRACE(std::to_string(image.Width) + " x " + std::to_string(image.Height));
    sizes.insert(image.Width);
    EXPECT_EQ(image.Width, image.Height);
    ASSERT_EQ(image.Bits, 32);
    int opaque = 0;
    std::set<PaletteEntry> colours;
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) {
        const size_t at = size_t(y) * image.Width + x;
        // Alpha and mask agree: a pixel is fully drawn or fully clear.
        EXPECT_TRUE(image.Alpha[at] == 0 || image.Alpha[at] == 255) << x << "," << y;
        EXPECT_EQ(image.Clear[at], image.Alpha[at] == 0) << x << "," << y;
        if (image.Clear[at]) continue;
        ++opaque;
        colours.insert(image.At(x, y));
        // The figure's edge is its dark outline, as on the characters' frames.
        const bool edge = x == 0 || y == 0 || x == image.Width - 1 || y == image.Height - 1 ||
                          image.ClearAt(x - 1, y) || image.ClearAt(x + 1, y) ||
                          image.ClearAt(x, y - 1) || image.ClearAt(x, y + 1);
        if (edge) EXPECT_EQ(image.At(x, y), kOutline) << x << "," << y;
      }
    EXPECT_TRUE(image.ClearAt(0, 0) && image.ClearAt(image.Width - 1, image.Height - 1));
    EXPECT_GT(opaque, image.Width * image.Height / 2);
    EXPECT_TRUE(colours.count(kYellow) && colours.count(kRed)) << "yellow skin and red fez";
  }
  EXPECT_EQ(sizes, (std::multiset<int>{16, 32, 48, 64, 96}));
}

TEST(Icons, TrayPictureIsAnOpaqueCloseUpThatSurvivesSixteenPixels) {
  const std::vector<uint8_t> file =
      art_test::ReadBytes(art_test::ArtDir() / "pictures" / "TrayIcon.ico");
  EXPECT_EQ(file.size(), 6u + 16 + 40 + 88 * 29 + 4 * 29);
  const std::vector<IconImage> images = ReadIcon(file);
  ASSERT_EQ(images.size(), 1u);
  const IconImage& image = images[0];
  ASSERT_EQ(image.Width, 29);
  ASSERT_EQ(image.Height, 29);
  EXPECT_EQ(image.Bits, 24);
  for (bool clear : image.Clear) EXPECT_FALSE(clear) << "the mask is empty";
  EXPECT_EQ(image.At(0, image.Height - 1), kTrayBackground);
  EXPECT_EQ(image.At(image.Width - 1, image.Height - 1), kTrayBackground);

  // Shown at 16 x 16 by dropping rows and columns: the two eyes are still there, dark pixels
  // with skin on both sides in the upper half of the face.
  auto sample = [&](int x, int y) { return image.At(x * 29 / 16, y * 29 / 16); };
  auto skin = [&](int x, int y) {
    return sample(x, y) != kOutline && sample(x, y) != kTrayBackground;
  };
  std::set<int> eyeColumns;
  for (int y = 4; y < 10; ++y)
    for (int x = 4; x < 12; ++x)
      if (sample(x, y) == kOutline && skin(x - 1, y) && skin(x + 1, y)) eyeColumns.insert(x);
  ASSERT_FALSE(eyeColumns.empty());
  EXPECT_LE(*eyeColumns.begin(), 7) << "left eye";
  EXPECT_GE(*eyeColumns.rbegin(), 8) << "right eye";
}

}  // namespace
