// The Windows-free outline writer against the platform's own regions: the blob of a bitmap is
// byte for byte what uniting its row runs with CreateRectRgn/CombineRgn and exporting them with
// GetRegionData gives, and a blob read back under a transform by ExtCreateRegion is the outline
// that the Windows-free Region type computes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "framework/winapi.h"
#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"

namespace {

std::vector<uint8_t> Export(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<uint8_t> blob(size);
  if (size == 0 || !GetRegionData(region, size, reinterpret_cast<RGNDATA*>(blob.data())))
    ADD_FAILURE() << "GetRegionData failed";
  return blob;
}

// The outline routine done with the platform's regions, scanning the pixels on its own: every
// maximal run of pixels that differ from the bottom-left one (by palette index at 8 bits, by all
// three bytes at 24) is united as a one-row rectangle; a row fails once more than 100 runs are
// taken and the scan has not reached its end.
std::vector<uint8_t> PlatformBlob(Image image) {
  NormalizePixelFormat(image);
  const int width = image.Width, height = image.Height;
  const bool indexed = image.BitsPerPixel == 8;
  const uint8_t keyIndex = indexed ? image.Index(0, height - 1) : 0;
  const PaletteEntry keyColour = indexed ? PaletteEntry{} : image.Colour(0, height - 1);
  auto transparent = [&](int x, int y) {
    return indexed ? image.Index(x, y) == keyIndex : image.Colour(x, y) == keyColour;
  };
  RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
  for (int y = 0; y < height; ++y) {
    int runs = 0, x = 0;
    while (x < width) {
      if (runs > 100) throw EInvalidGraphic("ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です");
      while (x < width && transparent(x, y)) ++x;
      if (x >= width) break;
      const int start = x;
      while (x < width && !transparent(x, y)) ++x;
      RegionHandle run(CreateRectRgn(start, y, x, y + 1));
      CombineRgn(outline.Get(), outline.Get(), run.Get(), RGN_OR);
      ++runs;
      ++x;
    }
  }
  return Export(outline.Get());
}

// The blob, or the error's message.
template <class Make>
std::string Outcome(Make&& make) {
  try {
    const std::vector<uint8_t> blob = make();
    return std::string(blob.begin(), blob.end());
  } catch (const Exception& e) {
    return "error: " + e.Message();
  }
}

void ExpectSameOutline(const Image& image) {
  const std::string core = Outcome([&] {
    Image copy = image;
    return BmpToRgnData(copy);
  });
  const std::string platform = Outcome([&] { return PlatformBlob(image); });
  EXPECT_EQ(core.size(), platform.size());
  EXPECT_TRUE(core == platform) << (core.rfind("error", 0) == 0 ? core : "blobs differ");
}

// A picture of random rectangles over a background plus noise, in few colours (so that key
// pixels occur everywhere) at any depth. Palettes may repeat a colour under two indices.
Image RandomPicture(std::mt19937& random, uint16_t bits, int maxSide) {
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const int width = between(1, maxSide), height = between(1, maxSide);
  Image image = Image::Create(width, height, bits);
  if (bits == 16 && between(0, 1)) {  // 5-6-5 bit fields
    image.RedMask = 0xF800;
    image.GreenMask = 0x07E0;
    image.BlueMask = 0x001F;
  }
  if (bits == 32 && between(0, 2) == 0) {  // unusual channel order
    image.RedMask = 0x000000FF;
    image.GreenMask = 0x0000FF00;
    image.BlueMask = 0x00FF0000;
  }
  const std::vector<PaletteEntry> colours = {
      {0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
  const int colourCount = bits == 1 ? 2 : between(2, 5);
  if (bits <= 8) image.Palette.assign(colours.begin(), colours.begin() + colourCount);
  auto paint = [&](int x, int y, int colour) {
    if (bits <= 8)
      image.SetIndex(x, y, static_cast<uint8_t>(colour));
    else
      image.SetColour(x, y, colours[colour]);
  };
  const int background = between(0, colourCount - 1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) paint(x, y, background);
  for (int shapes = between(0, 8); shapes > 0; --shapes) {
    const int left = between(0, width - 1), top = between(0, height - 1);
    const int right = between(left + 1, width), bottom = between(top + 1, height);
    const int colour = between(0, colourCount - 1);
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) paint(x, y, colour);
  }
  const int noise = between(0, 3) == 0 ? width * height / 2 : between(0, 6);
  for (int i = 0; i < noise; ++i)
    paint(between(0, width - 1), between(0, height - 1), between(0, colourCount - 1));
  return image;
}

TEST(RegionBlobAgainstPlatform, RandomBitmapsOfEveryDepth) {
  std::mt19937 random(8081);
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    for (int round = 0; round < 70; ++round) {
      const Image image = RandomPicture(random, bits, 48);
      SCOPED_TRACE(std::to_string(bits) + " bits, round " + std::to_string(round) + ", " +
                   std::to_string(image.Width) + " x " + std::to_string(image.Height));
      ExpectSameOutline(image);
    }
  }
}

TEST(RegionBlobAgainstPlatform, WideNoisyBitmapsReachTheRunLimitAlike) {
  std::mt19937 random(77);
  int refused = 0;
  for (int round = 0; round < 40; ++round) {
    // Alternating pixels with a few flipped: about 100 runs per row.
    Image image = Image::Create(std::uniform_int_distribution<int>(196, 212)(random), 3, 8);
    image.Palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    std::uniform_int_distribution<int> column(0, image.Width - 1);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < image.Width; ++x) image.SetIndex(x, y, static_cast<uint8_t>(x % 2 == 0));
      for (int flips = std::uniform_int_distribution<int>(0, 4)(random); flips > 0; --flips) {
        const int x = column(random);
        image.SetIndex(x, y, static_cast<uint8_t>(1 - image.Index(x, y)));
      }
    }
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectSameOutline(image);
    Image copy = image;
    refused += Outcome([&] { return BmpToRgnData(copy); }).rfind("error", 0) == 0;
  }
  EXPECT_GT(refused, 0) << "no picture reached the limit: the case is not exercised";
  EXPECT_LT(refused, 40) << "every picture was refused: the accepted side is not exercised";
}

TEST(RegionBlobAgainstPlatform, EdgeCases) {
  auto picture = [](int width, int height, std::initializer_list<std::pair<int, int>> opaque) {
    Image image = Image::Create(width, height, 8);
    image.Palette = {{0, 255, 0, 0}, {0, 0, 0, 0}};
    for (auto [x, y] : opaque) image.SetIndex(x, y, 1);
    return image;
  };
  ExpectSameOutline(picture(1, 1, {}));
  ExpectSameOutline(picture(7, 5, {}));  // only key pixels: the empty outline
  ExpectSameOutline(picture(1, 9, {{0, 0}, {0, 4}}));
  ExpectSameOutline(picture(9, 1, {{0, 0}, {8, 0}}));

  // Rows 10 to 19 with the same run make one rectangle; a gap row splits bands.
  Image bands = picture(12, 30, {});
  for (int y = 10; y < 20; ++y)
    for (int x = 5; x < 9; ++x) bands.SetIndex(x, y, y == 15 ? 0 : 1);
  ExpectSameOutline(bands);

  // 101 runs: accepted when the last ends at the edge or one pixel before it, refused otherwise.
  for (int tail : {0, 1, 2, 3}) {
    Image runs = Image::Create(201 + tail, 2, 8);
    runs.Palette = {{0, 0, 0, 0}, {9, 9, 9, 0}};
    for (int x = 0; x < 201; x += 2) runs.SetIndex(x, 0, 1);
    SCOPED_TRACE("tail " + std::to_string(tail));
    ExpectSameOutline(runs);
  }

  Image empty = picture(1, 1, {});
  const std::vector<uint8_t> blob = BmpToRgnData(empty);
  EXPECT_EQ(blob.size(), 32u);
}

// Every frame of the program's art: the stored outline is the platform's outline of the bitmap.
TEST(RegionBlobAgainstPlatform, ProgramFrames) {
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "missing " << path;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  };
  int frames = 0;
  for (const char* character : {"Mubo", "Tesk", "Plim", "Quarn"}) {
    for (int n = 1; n <= 12; ++n) {
      const std::string base =
          std::string(TIVOLU_SOURCE_DIR) + "/build/art/" + character + "/Rgn" + std::to_string(n);
      const std::vector<uint8_t> file = read(base + ".bmp"), stored = read(base + ".rgn");
      if (file.empty()) continue;
      SCOPED_TRACE(base);
      const Image image = ReadBmpFile(file);
      EXPECT_EQ(PlatformBlob(image), stored);
      ++frames;
    }
  }
  EXPECT_EQ(frames, 48);
}

// ExtCreateRegion under scale and offset gives what Region::FromBlob computes.
TEST(RegionBlobAgainstPlatform, TransformedBlobsMatchTheCoreRegion) {
  std::mt19937 random(4242);
  const float scales[] = {1.0f, 2.0f, 0.5f, 3.0f, 1.5f, 0.75f, 105.0f / 46, 105.0f / 24, 1.0f / 3};
  auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  for (int round = 0; round < 300; ++round) {
    Image image = RandomPicture(random, 8, 40);
    const std::vector<uint8_t> blob = BmpToRgnData(image);
    XFORM transform{};
    transform.eM11 = scales[pick(9)];
    transform.eM22 = scales[pick(9)];
    transform.eDx = static_cast<float>(pick(300) - 50) / (pick(2) ? 1 : 2);
    transform.eDy = static_cast<float>(pick(300) - 50) / (pick(2) ? 1 : 2);
    SCOPED_TRACE("round " + std::to_string(round) + ": scale " + std::to_string(transform.eM11) +
                 " x " + std::to_string(transform.eM22) + ", offset " +
                 std::to_string(transform.eDx) + ", " + std::to_string(transform.eDy));
    RegionHandle region(ExtCreateRegion(&transform, static_cast<DWORD>(blob.size()),
                                        reinterpret_cast<const RGNDATA*>(blob.data())));
    ASSERT_TRUE(region);
    const Region expected =
        Region::FromBlob(blob, transform.eM11, transform.eM22, transform.eDx, transform.eDy);
    EXPECT_EQ(Export(region.Get()), expected.ToBlob());
  }
}

}  // namespace
