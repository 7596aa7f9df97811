#include "framework/core/icon_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "../art/art_test_support.h"
#include "framework/core/bmp_file.h"
#include "framework/core/exception.h"

namespace {

struct RawImage {
  uint8_t width, height;
  uint16_t bits;
  std::vector<uint8_t> data;
};

// An icon file assembled byte by byte: directory, entries, then the images in order.
std::vector<uint8_t> IconFile(const std::vector<RawImage>& images, uint16_t type = 1) {
  std::vector<uint8_t> file;
  PutU16(file, 0);
  PutU16(file, type);
  PutU16(file, static_cast<uint16_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const RawImage& image : images) {
    file.insert(file.end(), {image.width, image.height, 0, 0});
    PutU16(file, 1);
    PutU16(file, image.bits);
    PutU32(file, static_cast<uint32_t>(image.data.size()));
    PutU32(file, offset);
    offset += static_cast<uint32_t>(image.data.size());
  }
  for (const RawImage& image : images)
    file.insert(file.end(), image.data.begin(), image.data.end());
  return file;
}

// The start of an icon image: a 40-byte bitmap header of twice the height, then filler.
std::vector<uint8_t> BitmapImage(int side, uint16_t bits, size_t size) {
  std::vector<uint8_t> data;
  PutU32(data, 40);
  PutU32(data, static_cast<uint32_t>(side));
  PutU32(data, static_cast<uint32_t>(2 * side));
  PutU16(data, 1);
  PutU16(data, bits);
  data.resize(size, 0);
  return data;
}

TEST(IconFile, ReadsEveryImageOfTheDirectory) {
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3};
  const auto file = IconFile({{16, 16, 32, BitmapImage(16, 32, 1128)},
                              {0, 0, 32, png},
                              {29, 29, 0, BitmapImage(29, 24, 2704)}});
  const auto images = ReadIconFile(file);
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0].Width, 16);
  EXPECT_EQ(images[0].BitsPerPixel, 32);
  EXPECT_EQ(images[0].Data.size(), 1128u);
  EXPECT_EQ(images[0].Data.data(), file.data() + 6 + 3 * 16);
  EXPECT_EQ(images[1].Width, 256);  // 0 in the directory
  EXPECT_EQ(images[1].Height, 256);
  EXPECT_EQ(images[1].Data.size(), png.size());
  EXPECT_EQ(images[2].BitsPerPixel, 24) << "an entry without a depth takes the header's";
  EXPECT_EQ(images[2].Data.data() + images[2].Data.size(), file.data() + file.size());
}

TEST(IconFile, ReadsTheTrayIconsPicture) {
  const auto file = art_test::ReadBytes(art_test::ArtDir() / "pictures" / "TrayIcon.ico");
  const auto images = ReadIconFile(file);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].Width, 29);
  EXPECT_EQ(images[0].Height, 29);
  EXPECT_EQ(images[0].BitsPerPixel, 24);
}

TEST(IconFile, RefusesWhatIsNoIconOrLiesOutsideTheFile) {
  const auto good = IconFile({{16, 16, 24, BitmapImage(16, 24, 824)}});
  ASSERT_NO_THROW(ReadIconFile(good));

  auto patched = [&](size_t at, uint8_t value) {
    auto file = good;
    file[at] = value;
    return file;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {0, 0, 1, 0},                                           // cut inside the directory
      IconFile({{16, 16, 24, BitmapImage(16, 24, 824)}}, 2),  // a cursor
      IconFile({}),                                           // no images
      {good.begin(), good.begin() + 20},                      // cut inside the entry
      {good.begin(), good.end() - 1},                         // the image cut short
      patched(18, 0),                                     // the image's offset inside the directory
      patched(17, 0x80),                                  // a size far beyond the file
      patched(6 + 16 + 0, 12),                            // no 40-byte bitmap header
      IconFile({{16, 16, 24, BitmapImage(16, 24, 20)}}),  // a header cut short
  };
  for (size_t i = 0; i < bad.size(); ++i)
    EXPECT_THROW(ReadIconFile(bad[i]), EInvalidGraphic) << "case " << i;
}

// Mutated and cut copies of a good file are either read with every image inside the file or
// refused; under the sanitizers nothing reads outside.
TEST(IconFile, MutatedFilesNeverReadOutside) {
  const auto good =
      IconFile({{16, 16, 24, BitmapImage(16, 24, 824)}, {32, 32, 32, BitmapImage(32, 32, 4264)}});
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    auto file = good;
    for (int n = 0; n < 1 + round % 4; ++n) file[random() % 64] = static_cast<uint8_t>(random());
    file.resize(random() % (file.size() + 1));
    try {
      for (const IconFileImage& image : ReadIconFile(file)) {
        EXPECT_GE(image.Data.data(), file.data());
        EXPECT_LE(image.Data.data() + image.Data.size(), file.data() + file.size());
      }
    } catch (const EInvalidGraphic&) {
    }
  }
}

}  // namespace
