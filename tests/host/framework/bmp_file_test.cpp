#include "framework/core/bmp_file.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "../region/region_test_support.h"
#include "framework/core/exception.h"

namespace {

using region_test::I32;
using region_test::U16;
using region_test::U32;

std::vector<uint8_t> Bytes(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// A BMP file assembled byte by byte, independently of WriteBmpFile.
struct RawBmp {
  uint32_t headerSize = 40;
  int32_t width = 0, height = 0;  // height < 0: rows stored top-down
  uint16_t bits = 8;
  uint32_t compression = 0;
  std::vector<uint32_t> masks;                  // bit fields: red, green, blue
  std::vector<std::array<uint8_t, 3>> palette;  // blue, green, red
  uint32_t paletteUsed = 0;                     // the header's count (0: all)
  std::function<uint32_t(int x, int y)> pixel;  // y from the top

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> out;
    auto put = [&](uint64_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    const bool core = headerSize == 12;
    const bool masksAfterHeader = compression == 3 && headerSize == 40;
    const size_t entry = core ? 3 : 4;
    const size_t rowBytes = (size_t(width) * bits + 31) / 32 * 4;
    const int rows = height < 0 ? -height : height;
    const size_t offset = 14 + headerSize + (masksAfterHeader ? 12 : 0) + entry * palette.size();
    out.push_back('B');
    out.push_back('M');
    put(offset + rowBytes * rows, 4);
    put(0, 4);
    put(offset, 4);
    put(headerSize, 4);
    if (core) {
      put(width, 2);
      put(height, 2);
      put(1, 2);
      put(bits, 2);
    } else {
      put(uint32_t(width), 4);
      put(uint32_t(height), 4);
      put(1, 2);
      put(bits, 2);
      put(compression, 4);
      put(rowBytes * rows, 4);
      put(2835, 4);
      put(2835, 4);
      put(paletteUsed, 4);
      put(0, 4);
      size_t rest = headerSize - 40;
      if (compression == 3 && headerSize > 40) {
        for (uint32_t m : masks) put(m, 4);
        rest -= 12;
      }
      out.insert(out.end(), rest, 0);
      if (masksAfterHeader)
        for (uint32_t m : masks) put(m, 4);
    }
    for (const auto& e : palette) {
      out.insert(out.end(), e.begin(), e.end());
      if (!core) out.push_back(0);
    }
    for (int stored = 0; stored < rows; ++stored) {
      const int y = height < 0 ? stored : rows - 1 - stored;
      std::vector<uint8_t> row(rowBytes, 0);
      for (int x = 0; x < width; ++x) {
        const uint32_t v = pixel(x, y);
        if (bits < 8) {
          row[x * bits / 8] |= uint8_t(v << (8 - bits - (x * bits) % 8));
        } else {
          for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = uint8_t(v >> (8 * i));
        }
      }
      out.insert(out.end(), row.begin(), row.end());
    }
    return out;
  }
};

uint8_t Expand5(uint32_t v) { return uint8_t(v << 3 | v >> 2); }
uint8_t Expand6(uint32_t v) { return uint8_t(v << 2 | v >> 4); }

std::vector<std::array<uint8_t, 3>> TestPalette(int count) {
  std::vector<std::array<uint8_t, 3>> palette;
  for (int i = 0; i < count; ++i)
    palette.push_back({uint8_t(i * 3 + 1), uint8_t(255 - i), uint8_t(i * 7 % 256)});
  return palette;
}

// Reads the file and compares every pixel's colour with `expected`.
void ExpectColours(const RawBmp& raw, const std::function<PaletteEntry(int, int)>& expected) {
  const Image image = ReadBmpFile(raw.Build());
  const int rows = raw.height < 0 ? -raw.height : raw.height;
  ASSERT_EQ(image.Width, raw.width);
  ASSERT_EQ(image.Height, rows);
  ASSERT_EQ(image.BitsPerPixel, raw.bits);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < raw.width; ++x)
      ASSERT_EQ(image.Colour(x, y), expected(x, y)) << "pixel " << x << ", " << y;
}

struct DepthCase {
  std::string name;
  RawBmp raw;
  std::function<PaletteEntry(int, int)> expected;
};

std::vector<DepthCase> DepthCases() {
  std::vector<DepthCase> cases;
  auto paletted = [&](const std::string& name, uint16_t bits, int colours, uint32_t used) {
    RawBmp raw;
    raw.width = 7;
    raw.height = 3;
    raw.bits = bits;
    raw.palette = TestPalette(used ? used : colours);
    raw.paletteUsed = used;
    const int modulo = used ? used : colours;
    raw.pixel = [modulo](int x, int y) { return uint32_t(x * 3 + y * 5) % modulo; };
    const auto palette = raw.palette;
    cases.push_back({name, raw, [palette, modulo](int x, int y) {
                       const auto& e = palette[(x * 3 + y * 5) % modulo];
                       return PaletteEntry{e[0], e[1], e[2], 0};
                     }});
  };
  paletted("1 bit", 1, 2, 0);
  paletted("4 bits", 4, 16, 0);
  paletted("4 bits, 5 entries used", 4, 16, 5);
  paletted("8 bits", 8, 256, 0);
  paletted("8 bits, 30 entries used", 8, 256, 30);

  RawBmp rgb555;
  rgb555.width = 5;
  rgb555.height = 3;
  rgb555.bits = 16;
  auto r5 = [](int x, int y) { return uint32_t(x * 7 + y) % 32; };
  auto g5 = [](int x, int y) { return uint32_t(x + y * 11) % 32; };
  auto b5 = [](int x, int y) { return uint32_t(x * y + 3) % 32; };
  rgb555.pixel = [=](int x, int y) { return r5(x, y) << 10 | g5(x, y) << 5 | b5(x, y); };
  cases.push_back(
      {"16 bits 5-5-5", rgb555, [=](int x, int y) {
         return PaletteEntry{Expand5(b5(x, y)), Expand5(g5(x, y)), Expand5(r5(x, y)), 0};
       }});

  RawBmp rgb565 = rgb555;
  rgb565.compression = 3;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  auto g6 = [](int x, int y) { return uint32_t(x * 13 + y * 5) % 64; };
  rgb565.pixel = [=](int x, int y) { return r5(x, y) << 11 | g6(x, y) << 5 | b5(x, y); };
  cases.push_back(
      {"16 bits 5-6-5 bit fields", rgb565, [=](int x, int y) {
         return PaletteEntry{Expand5(b5(x, y)), Expand6(g6(x, y)), Expand5(r5(x, y)), 0};
       }});

  auto r8 = [](int x, int y) { return uint8_t(x * 40 + y); };
  auto g8 = [](int x, int y) { return uint8_t(x + y * 70); };
  auto b8 = [](int x, int y) { return uint8_t(x * y * 9 + 1); };
  auto colour = [=](int x, int y) { return PaletteEntry{b8(x, y), g8(x, y), r8(x, y), 0}; };
  RawBmp bgr;
  bgr.width = 5;
  bgr.height = 3;
  bgr.bits = 24;
  bgr.pixel = [=](int x, int y) { return uint32_t(b8(x, y)) | g8(x, y) << 8 | r8(x, y) << 16; };
  cases.push_back({"24 bits", bgr, colour});

  RawBmp bgrx = bgr;
  bgrx.bits = 32;
  bgrx.pixel = [=](int x, int y) { return bgr.pixel(x, y) | 0xAB000000u; };
  cases.push_back({"32 bits", bgrx, colour});

  RawBmp rgbx = bgrx;
  rgbx.compression = 3;
  rgbx.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  rgbx.pixel = [=](int x, int y) { return uint32_t(r8(x, y)) | g8(x, y) << 8 | b8(x, y) << 16; };
  cases.push_back({"32 bits, red in the low byte", rgbx, colour});

  RawBmp v5 = rgbx;
  v5.headerSize = 124;
  cases.push_back({"32 bits, 124-byte header", v5, colour});
  return cases;
}

TEST(BmpFileRead, EveryDepthBottomUpAndTopDown) {
  for (DepthCase& c : DepthCases()) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(c.name + (topDown ? ", top-down" : ", bottom-up"));
      if (topDown) c.raw.height = -c.raw.height;
      ExpectColours(c.raw, c.expected);
    }
  }
}

TEST(BmpFileRead, PaletteIndicesAndHeaderFields) {
  RawBmp raw;
  raw.width = 9;
  raw.height = -2;
  raw.bits = 4;
  raw.palette = TestPalette(16);
  raw.pixel = [](int x, int y) { return uint32_t(x + y) % 16; };
  const Image image = ReadBmpFile(raw.Build());
  EXPECT_EQ(image.Palette.size(), 16u);
  EXPECT_EQ(image.XPelsPerMeter, 2835);
  EXPECT_EQ(image.YPelsPerMeter, 2835);
  EXPECT_EQ(image.BytesPerRow(), 8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(image.Index(x, y), (x + y) % 16);
}

TEST(BmpFileRead, OldTwelveByteHeader) {
  RawBmp indexed;
  indexed.headerSize = 12;
  indexed.width = 6;
  indexed.height = 4;
  indexed.bits = 8;
  indexed.palette = TestPalette(256);
  indexed.pixel = [](int x, int y) { return uint32_t(x * 40 + y); };
  ExpectColours(indexed, [&](int x, int y) {
    const auto& e = indexed.palette[x * 40 + y];
    return PaletteEntry{e[0], e[1], e[2], 0};
  });

  RawBmp bgr = indexed;
  bgr.bits = 24;
  bgr.palette.clear();
  bgr.pixel = [](int x, int y) { return uint32_t(x) | uint32_t(y) << 8 | 0x770000u; };
  ExpectColours(bgr, [](int x, int y) { return PaletteEntry{uint8_t(x), uint8_t(y), 0x77, 0}; });
}

// The frames' bitmap layout: 46 x 56, 8 bits, 256 palette entries.
TEST(BmpFileWrite, FrameBitmapLayout) {
  Image image = Image::Create(46, 56, 8);
  for (int i = 0; i < 256; ++i) image.Palette.push_back({uint8_t(i), uint8_t(255 - i), 7, 0});
  image.XPelsPerMeter = 3780;
  image.YPelsPerMeter = 3779;
  for (int y = 0; y < 56; ++y)
    for (int x = 0; x < 46; ++x) image.SetIndex(x, y, uint8_t(x + 2 * y));

  const std::vector<uint8_t> file = WriteBmpFile(image);
  ASSERT_EQ(file.size(), 3766u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), 3766u);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 1078u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(I32(file, 18), 46);
  EXPECT_EQ(I32(file, 22), 56);
  EXPECT_EQ(U16(file, 26), 1);
  EXPECT_EQ(U16(file, 28), 8);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 34), 2688u);
  EXPECT_EQ(I32(file, 38), 3780);
  EXPECT_EQ(I32(file, 42), 3779);
  EXPECT_EQ(U32(file, 46), 256u);
  EXPECT_EQ(U32(file, 50), 0u);
  EXPECT_EQ(file[54 + 4 * 5], 5);        // blue of entry 5
  EXPECT_EQ(file[54 + 4 * 5 + 1], 250);  // green
  EXPECT_EQ(file[54 + 4 * 5 + 2], 7);    // red
  EXPECT_EQ(file[54 + 4 * 5 + 3], 0);
  // Bottom row first, 48 bytes a row, padding zero.
  EXPECT_EQ(file[1078], uint8_t(0 + 2 * 55));
  EXPECT_EQ(file[1078 + 45], uint8_t(45 + 2 * 55));
  EXPECT_EQ(file[1078 + 46], 0);
  EXPECT_EQ(file[1078 + 47], 0);
  EXPECT_EQ(file[1078 + 48 * 55], 0);  // top row starts with index 0

  const std::vector<uint8_t> value = EncodeBitmapProperty(file);
  ASSERT_EQ(value.size(), 3770u);
  EXPECT_EQ(U32(value, 0), 3766u);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), value.begin() + 4));
  EXPECT_EQ(Bytes(DecodeBitmapProperty(value)), file);
  EXPECT_EQ(ReadBmpFile(file), image);
}

TEST(BmpFileWrite, PaletteUsedIsThePaletteSize) {
  Image image = region_test::PixelMap({"#.", ".a"}, {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}});
  const std::vector<uint8_t> file = WriteBmpFile(image);
  EXPECT_EQ(U32(file, 46), 3u);
  EXPECT_EQ(U32(file, 10), 14u + 40 + 12);
  EXPECT_EQ(file.size(), 14u + 40 + 12 + 2 * 4);
}

Image RandomImage(std::mt19937& random, uint16_t bits) {
  std::uniform_int_distribution<int> size(1, 19), byte(0, 255);
  Image image = Image::Create(size(random), size(random), bits);
  image.XPelsPerMeter = byte(random);
  if (bits <= 8) {
    const int count = std::uniform_int_distribution<int>(1, 1 << bits)(random);
    for (int i = 0; i < count; ++i)
      image.Palette.push_back(
          {uint8_t(byte(random)), uint8_t(byte(random)), uint8_t(byte(random)), 0});
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) image.SetIndex(x, y, uint8_t(byte(random) % count));
  } else {
    if (bits == 16 && byte(random) % 2) {
      image.RedMask = 0xF800;
      image.GreenMask = 0x07E0;
      image.BlueMask = 0x001F;
    }
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        image.SetColour(x, y,
                        {uint8_t(byte(random)), uint8_t(byte(random)), uint8_t(byte(random)), 0});
  }
  return image;
}

TEST(BmpFileWrite, RoundTripEveryDepth) {
  std::mt19937 random(7);
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    for (int i = 0; i < 20; ++i) {
      const Image image = RandomImage(random, bits);
      SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(image.Width) + " x " +
                   std::to_string(image.Height));
      const std::vector<uint8_t> file = WriteBmpFile(image);
      EXPECT_EQ(U32(file, 2), file.size());
      EXPECT_EQ(ReadBmpFile(file), image);
    }
  }
}

TEST(BmpFileWrite, RefusesAPaletteImageWithoutPalette) {
  Image image = Image::Create(4, 4, 8);
  EXPECT_THROW(WriteBmpFile(image), EInvalidGraphic);
  image.Palette.assign(257, {});
  EXPECT_THROW(WriteBmpFile(image), EInvalidGraphic);
}

TEST(NormalizePixelFormat, FourBitsBecomeEightWithThePalette) {
  RawBmp raw;
  raw.width = 5;
  raw.height = 2;
  raw.bits = 4;
  raw.palette = TestPalette(16);
  raw.pixel = [](int x, int y) { return uint32_t(x * 3 + y) % 16; };
  Image image = ReadBmpFile(raw.Build());
  const Image before = image;
  NormalizePixelFormat(image);
  EXPECT_EQ(image.BitsPerPixel, 8);
  EXPECT_EQ(image.BytesPerRow(), 8);
  EXPECT_EQ(image.Palette, before.Palette);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(image.Index(x, y), before.Index(x, y));
      EXPECT_EQ(image.Colour(x, y), before.Colour(x, y));
    }
}

TEST(NormalizePixelFormat, OneBitBecomesEight) {
  Image image = Image::Create(10, 1, 1);
  image.Palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  image.SetIndex(9, 0, 1);
  NormalizePixelFormat(image);
  EXPECT_EQ(image.BitsPerPixel, 8);
  EXPECT_EQ(image.Index(8, 0), 0);
  EXPECT_EQ(image.Index(9, 0), 1);
}

TEST(NormalizePixelFormat, ThirtyTwoAndSixteenBitsBecomeTwentyFour) {
  for (uint16_t bits : {16, 32}) {
    std::mt19937 random(bits);
    Image image = RandomImage(random, bits);
    const Image before = image;
    NormalizePixelFormat(image);
    EXPECT_EQ(image.BitsPerPixel, 24);
    EXPECT_EQ(image.RedMask | image.GreenMask | image.BlueMask, 0u);
    EXPECT_EQ(image.XPelsPerMeter, before.XPelsPerMeter);
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) ASSERT_EQ(image.Colour(x, y), before.Colour(x, y));
  }
}

TEST(NormalizePixelFormat, EightAndTwentyFourBitsStay) {
  std::mt19937 random(3);
  for (uint16_t bits : {8, 24}) {
    Image image = RandomImage(random, bits);
    const Image before = image;
    NormalizePixelFormat(image);
    EXPECT_EQ(image, before);
  }
}

TEST(ToTrueColour, EveryDepthKeepsItsColours) {
  std::mt19937 random(7);
  for (uint16_t bits : {8, 16, 24, 32}) {
    const Image before = RandomImage(random, bits);
    const Image image = ToTrueColour(before);
    EXPECT_EQ(image.BitsPerPixel, 24);
    EXPECT_TRUE(image.Palette.empty());
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) ASSERT_EQ(image.Colour(x, y), before.Colour(x, y));
  }
}

TEST(Image, SixteenBitColoursExpandTheirFields) {
  Image image = Image::Create(3, 1, 16);
  image.Pixels = {0xFF, 0x7F, 0x21, 0x04, 0x00, 0x7C, 0, 0};  // white, (1, 1, 1), pure red
  EXPECT_EQ(image.Colour(0, 0), (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(image.Colour(1, 0), (PaletteEntry{8, 8, 8, 0}));
  EXPECT_EQ(image.Colour(2, 0), (PaletteEntry{0, 0, 255, 0}));
}

TEST(BitmapProperty, DecodeValidatesTheLength) {
  const std::vector<uint8_t> file{'B', 'M', 1, 2, 3};
  const std::vector<uint8_t> value = EncodeBitmapProperty(file);
  EXPECT_EQ(value, (std::vector<uint8_t>{5, 0, 0, 0, 'B', 'M', 1, 2, 3}));
  EXPECT_EQ(Bytes(DecodeBitmapProperty(value)), file);
  EXPECT_TRUE(DecodeBitmapProperty(std::vector<uint8_t>{0, 0, 0, 0}).empty());
  std::vector<uint8_t> longer = value;
  longer.push_back(0);
  EXPECT_THROW(DecodeBitmapProperty(longer), EInvalidGraphic);
  EXPECT_THROW(DecodeBitmapProperty(std::span(value).first(8)), EInvalidGraphic);
  EXPECT_THROW(DecodeBitmapProperty(std::vector<uint8_t>{5, 0, 0}), EInvalidGraphic);
  EXPECT_THROW(DecodeBitmapProperty(std::vector<uint8_t>{}), EInvalidGraphic);
}

// Every prefix of every valid file is refused (each prefix is its own exact-size allocation, so
// the address sanitizer sees any read past its end).
TEST(BmpFileMalformed, EveryTruncationIsRefused) {
  for (const DepthCase& c : DepthCases()) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = c.raw.Build();
    for (size_t length = 0; length < file.size(); ++length) {
      const std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
      EXPECT_THROW(ReadBmpFile(prefix), EInvalidGraphic) << "length " << length;
      EXPECT_THROW(ReadBmpFileHeader(prefix), EInvalidGraphic) << "length " << length;
    }
  }
}

// Bitmap resources are files without their 14-byte file header: the pixels follow the palette.
TEST(PackedBitmap, ReadsAsTheFileWithoutItsHeaderAndRefusesEveryTruncation) {
  std::vector<DepthCase> cases = DepthCases();
  RawBmp core;
  core.headerSize = 12;
  core.width = 3;
  core.height = 2;
  core.palette = TestPalette(256);
  core.pixel = [](int x, int y) { return uint32_t(x + 7 * y); };
  cases.push_back({"12-byte header", core, nullptr});
  for (const DepthCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = c.raw.Build();
    const std::vector<uint8_t> packed(file.begin() + 14, file.end());
    EXPECT_EQ(ReadPackedDib(packed), ReadBmpFile(file));
    for (size_t length = 0; length < packed.size(); ++length) {
      const std::vector<uint8_t> prefix(packed.begin(), packed.begin() + length);
      EXPECT_THROW(ReadPackedDib(prefix), EInvalidGraphic) << "length " << length;
    }
  }
}

std::string Read(const std::vector<uint8_t>& file) {
  return region_test::Outcome([&] { ReadBmpFile(file); });
}

TEST(BmpFileMalformed, HeaderFaultsAreNamed) {
  RawBmp raw;
  raw.width = 4;
  raw.height = 4;
  raw.palette = TestPalette(256);
  raw.pixel = [](int, int) { return 0u; };
  const std::vector<uint8_t> good = raw.Build();
  ASSERT_EQ(Read(good), "(accepted)");
  auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> file = good;
    std::copy(bytes.begin(), bytes.end(), file.begin() + at);
    return Read(file);
  };
  EXPECT_EQ(patched(0, {'M', 'B'}), "EInvalidGraphic: Invalid BMP file: no \"BM\" signature");
  EXPECT_EQ(patched(14, {41}), "EInvalidGraphic: Invalid BMP file: unsupported header size 41");
  EXPECT_EQ(patched(26, {2}), "EInvalidGraphic: Invalid BMP file: 2 planes");
  EXPECT_EQ(patched(28, {2}),
            "EInvalidGraphic: Invalid BMP file: unsupported depth of 2 bits per pixel");
  EXPECT_EQ(patched(30, {1}),
            "EInvalidGraphic: Invalid BMP file: run-length compressed bitmaps are not supported");
  EXPECT_EQ(patched(30, {3}), "EInvalidGraphic: Invalid BMP file: bit fields at 8 bits per pixel");
  EXPECT_EQ(patched(30, {4}), "EInvalidGraphic: Invalid BMP file: unsupported compression 4");
  EXPECT_EQ(patched(18, {0xFF, 0xFF, 0xFF, 0xFF}),
            "EInvalidGraphic: Invalid BMP file: negative width");
  EXPECT_EQ(patched(22, {0, 0, 0, 0x80}), "EInvalidGraphic: Invalid BMP file: unusable height");
  EXPECT_EQ(patched(46, {1, 1}),
            "EInvalidGraphic: Invalid BMP file: 257 palette entries for 8 bits per pixel");
  EXPECT_EQ(patched(10, {0x35, 0}),
            "EInvalidGraphic: Invalid BMP file: pixel rows overlap the header or palette");
  EXPECT_EQ(patched(10, {0xFF, 0xFF, 0xFF, 0xFF}),
            "EInvalidGraphic: Invalid BMP file: pixel rows truncated: 16 bytes needed at offset "
            "4294967295, file "
            "has 1094");
  // A huge size in a small file is refused before anything is allocated.
  EXPECT_EQ(patched(18, {0xFF, 0xFF, 0xFF, 0x7F}), "EInvalidGraphic: Invalid BMP file: too wide");
  EXPECT_EQ(patched(22, {0xFF, 0xFF, 0xFF, 0x7F}),
            "EInvalidGraphic: Invalid BMP file: pixel rows truncated: 8589934588 bytes needed at "
            "offset 1078, "
            "file has 1094");
}

TEST(BmpFileMalformed, UnusableBitFieldsAreRefused) {
  RawBmp raw;
  raw.width = 2;
  raw.height = 2;
  raw.bits = 16;
  raw.compression = 3;
  raw.pixel = [](int, int) { return 0u; };
  for (std::vector<uint32_t> masks : std::vector<std::vector<uint32_t>>{
           {0, 0x07E0, 0x001F},        // empty
           {0xF100, 0x07E0, 0x001F},   // not contiguous
           {0xF800, 0x0FE0, 0x001F},   // overlapping
           {0x1F0000, 0x07E0, 0x001F}  // beyond 16 bits
       }) {
    raw.masks = masks;
    EXPECT_THROW(ReadBmpFile(raw.Build()), EInvalidGraphic) << std::hex << masks[0];
  }
}

TEST(BmpFileRead, PicturesWithoutPixelsReadAsEmpty) {
  for (auto [width, height] :
       {std::pair{0, 3}, std::pair{5, 0}, std::pair{0, 0}, std::pair{0, -4}}) {
    RawBmp raw;
    raw.width = width;
    raw.height = height;
    raw.bits = 24;
    raw.pixel = [](int, int) { return 0u; };
    const Image image = ReadBmpFile(raw.Build());
    EXPECT_TRUE(image.Empty());
    EXPECT_TRUE(image.Valid());
    EXPECT_TRUE(image.Pixels.empty());
  }
}

// Random corruption of valid files: each result is a picture or EInvalidGraphic, never a read
// outside the input or another failure.
TEST(BmpFileMalformed, RandomCorruptionIsContained) {
  std::mt19937 random(11);
  int refused = 0;
  for (const DepthCase& c : DepthCases()) {
    const std::vector<uint8_t> good = c.raw.Build();
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> file = good;
      const int changes = std::uniform_int_distribution<int>(1, 4)(random);
      for (int i = 0; i < changes; ++i) {
        // Mostly the headers, where the sizes and offsets live.
        const size_t at = std::uniform_int_distribution<size_t>(
            0, (round % 4 ? std::min<size_t>(70, file.size()) : file.size()) - 1)(random);
        file[at] = uint8_t(random());
      }
      if (round % 5 == 0)
        file.resize(std::uniform_int_distribution<size_t>(0, file.size())(random));
      // Sizes at their edges: 0, 1, negative, the largest.
      if (round % 7 == 0 && file.size() >= 26) {
        static const uint32_t edges[] = {0, 1, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF};
        const size_t field =
            c.raw.headerSize == 12 ? 18 + 2 * (random() % 2) : 18 + 4 * (random() % 2);
        const uint32_t v = edges[random() % 5];
        for (size_t i = 0; i < (c.raw.headerSize == 12 ? 2u : 4u) && field + i < file.size(); ++i)
          file[field + i] = uint8_t(v >> (8 * i));
      }
      // The header alone (a picture whose pixels are read later) is refused exactly when the
      // whole file is, and is the whole picture but for its pixels.
      std::optional<Image> header;
      try {
        header = ReadBmpFileHeader(file);
        EXPECT_TRUE(header->Pixels.empty());
      } catch (const EInvalidGraphic&) {
      }
      try {
        Image image = ReadBmpFile(file);
        EXPECT_TRUE(image.Valid());
        image.Pixels.clear();
        EXPECT_EQ(header, image);
      } catch (const EInvalidGraphic&) {
        EXPECT_FALSE(header) << "a header accepted from a file that is refused";
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
