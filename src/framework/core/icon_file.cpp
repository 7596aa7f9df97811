#include "framework/core/icon_file.h"

#include <algorithm>
#include <array>
#include <string>

#include "framework/core/exception.h"

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kBitmapHeaderSize = 40;
constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t U16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t U32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

[[noreturn]] void Malformed(const std::string& what) {
  throw EInvalidGraphic("アイコンファイルが不正です: " + what);
}

bool StartsWithPng(std::span<const uint8_t> data) {
  return data.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

}  // namespace

std::vector<IconFileImage> ReadIconFile(std::span<const uint8_t> file) {
  if (file.size() < kDirectorySize) Malformed("too short for its directory");
  if (U16(file, 0) != 0 || U16(file, 2) != 1) Malformed("not an icon");
  const size_t count = U16(file, 4);
  if (count == 0) Malformed("no images");
  const size_t entriesEnd = kDirectorySize + count * kEntrySize;
  if (file.size() < entriesEnd) Malformed("directory cut short");

  std::vector<IconFileImage> images;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kDirectorySize + i * kEntrySize;
    const uint64_t size = U32(file, entry + 8);
    const uint64_t offset = U32(file, entry + 12);
    const std::string which = "image " + std::to_string(i + 1);
    if (offset < entriesEnd || offset + size > file.size()) Malformed(which + " lies outside");
    IconFileImage image;
    image.Width = file[entry] == 0 ? 256 : file[entry];
    image.Height = file[entry + 1] == 0 ? 256 : file[entry + 1];
    image.BitsPerPixel = U16(file, entry + 6);
    image.Data = file.subspan(offset, size);
    if (!StartsWithPng(image.Data)) {
      if (image.Data.size() < kBitmapHeaderSize || U32(image.Data, 0) != kBitmapHeaderSize)
        Malformed(which + " has no bitmap header");
      if (image.BitsPerPixel == 0) image.BitsPerPixel = U16(image.Data, 14);
    }
    images.push_back(image);
  }
  return images;
}
