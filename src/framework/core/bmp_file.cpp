#include "framework/core/bmp_file.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "framework/core/exception.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kCompressionNone = 0;  // BI_RGB
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;

bool IsSupportedDepth(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Row size in bytes of a row of `width` pixels, padded to 4 bytes; 64-bit so that no width
// overflows it.
uint64_t RowBytes(uint64_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

[[noreturn]] void Fail(const std::string& what) {
  throw EInvalidGraphic("Invalid BMP file: " + what);
}

// Little-endian reads that never leave the input.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> data) : data_(data) {}
  size_t Size() const { return data_.size(); }
  uint16_t U16(uint64_t at) const {
    Need(at, 2);
    return static_cast<uint16_t>(data_[at] | data_[at + 1] << 8);
  }
  uint32_t U32(uint64_t at) const {
    Need(at, 4);
    return static_cast<uint32_t>(data_[at]) | static_cast<uint32_t>(data_[at + 1]) << 8 |
           static_cast<uint32_t>(data_[at + 2]) << 16 | static_cast<uint32_t>(data_[at + 3]) << 24;
  }
  int32_t I32(uint64_t at) const { return static_cast<int32_t>(U32(at)); }
  const uint8_t* Bytes(uint64_t at, uint64_t count) const {
    Need(at, count);
    return data_.data() + at;
  }
  bool Has(uint64_t at, uint64_t count) const {
    return at <= data_.size() && count <= data_.size() - at;
  }

 private:
  void Need(uint64_t at, uint64_t count) const {
    if (!Has(at, count)) Fail("truncated (" + std::to_string(data_.size()) + " bytes)");
  }
  std::span<const uint8_t> data_;
};

struct Masks {
  uint32_t Red, Green, Blue;
};

Masks EffectiveMasks(const Image& image) {
  if (image.RedMask | image.GreenMask | image.BlueMask)
    return {image.RedMask, image.GreenMask, image.BlueMask};
  if (image.BitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

bool IsContiguous(uint32_t mask) {
  return mask != 0 && std::has_single_bit((mask >> std::countr_zero(mask)) + 1ull);
}

// The 8-bit value of the field `mask` of `pixel`: fields narrower than 8 bits repeat their bits
// downward (5 bits v give v << 3 | v >> 2), wider ones keep their top 8 bits.
uint8_t ExtractField(uint32_t pixel, uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int length = std::popcount(mask);
  const uint32_t v = (pixel & mask) >> shift;
  if (length >= 8) return static_cast<uint8_t>(v >> (length - 8));
  uint32_t wide = 0;
  int bits = 0;
  while (bits < 8) {
    wide = wide << length | v;
    bits += length;
  }
  return static_cast<uint8_t>(wide >> (bits - 8));
}

uint32_t InsertField(uint8_t value, uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int length = std::popcount(mask);
  const uint32_t v =
      length >= 8 ? uint32_t{value} << (length - 8) : uint32_t{value} >> (8 - length);
  return (v << shift) & mask;
}

void CheckMasks(const Masks& m, uint32_t bits) {
  const uint64_t limit = bits == 16 ? 0xFFFFull : 0xFFFFFFFFull;
  for (uint32_t mask : {m.Red, m.Green, m.Blue}) {
    if (!IsContiguous(mask) || mask > limit) Fail("unusable bit-field mask");
  }
  if ((m.Red & m.Green) | (m.Red & m.Blue) | (m.Green & m.Blue))
    Fail("overlapping bit-field masks");
}

// Zeroes the bits and bytes of each row beyond its last pixel, so that equal pictures hold equal
// bytes.
void ClearRowPadding(Image& image) {
  const uint64_t usedBits = uint64_t(image.Width) * image.BitsPerPixel;
  const size_t fullBytes = usedBits / 8;
  const int partialBits = usedBits % 8;
  const size_t rowBytes = image.BytesPerRow();
  for (int32_t y = 0; y < image.Height; ++y) {
    uint8_t* row = image.Pixels.data() + y * rowBytes;
    size_t from = fullBytes;
    if (partialBits) row[from++] &= static_cast<uint8_t>(0xFF00 >> partialBits);
    std::fill(row + from, row + rowBytes, uint8_t{0});
  }
}

void CheckCoordinates(const Image& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height ||
      image.Pixels.size() < (uint64_t(y) + 1) * uint64_t(image.BytesPerRow()))
    throw std::out_of_range("Image: pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") outside the bitmap");
}

}  // namespace

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Image Image::Create(int32_t width, int32_t height, uint16_t bitsPerPixel) {
  if (width < 0 || height < 0 || !IsSupportedDepth(bitsPerPixel) ||
      RowBytes(width, bitsPerPixel) > INT32_MAX)
    throw std::invalid_argument("Image::Create: unusable size or depth");
  Image image;
  image.Width = width;
  image.Height = height;
  image.BitsPerPixel = bitsPerPixel;
  image.Pixels.assign(size_t(image.BytesPerRow()) * size_t(height), 0);
  return image;
}

int32_t Image::BytesPerRow() const {
  return static_cast<int32_t>(RowBytes(std::max(Width, 0), BitsPerPixel));
}

bool Image::Empty() const { return Width == 0 || Height == 0; }

bool Image::Valid() const {
  if (Width < 0 || Height < 0 || !IsSupportedDepth(BitsPerPixel)) return false;
  const uint64_t rowBytes = RowBytes(Width, BitsPerPixel);
  return rowBytes <= INT32_MAX && Pixels.size() == rowBytes * uint64_t(Height);
}

uint8_t Image::Index(int x, int y) const {
  CheckCoordinates(*this, x, y);
  const uint8_t* row = Pixels.data() + size_t(y) * BytesPerRow();
  switch (BitsPerPixel) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8:
      return row[x];
    default:
      throw std::logic_error("Image::Index: no palette indices at this depth");
  }
}

PaletteEntry Image::Colour(int x, int y) const {
  if (BitsPerPixel <= 8) {
    const uint8_t index = Index(x, y);
    if (index >= Palette.size()) return {};
    PaletteEntry colour = Palette[index];
    colour.Reserved = 0;
    return colour;
  }
  CheckCoordinates(*this, x, y);
  const uint8_t* p = Pixels.data() + size_t(y) * BytesPerRow() + size_t(x) * (BitsPerPixel / 8);
  if (BitsPerPixel == 24) return {p[0], p[1], p[2], 0};
  const uint32_t pixel = BitsPerPixel == 16 ? uint32_t(p[0] | p[1] << 8)
                                            : uint32_t(p[0]) | uint32_t(p[1]) << 8 |
                                                  uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  const Masks m = EffectiveMasks(*this);
  return {ExtractField(pixel, m.Blue), ExtractField(pixel, m.Green), ExtractField(pixel, m.Red), 0};
}

void Image::SetIndex(int x, int y, uint8_t index) {
  CheckCoordinates(*this, x, y);
  uint8_t* row = Pixels.data() + size_t(y) * BytesPerRow();
  switch (BitsPerPixel) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~bit) | ((index & 1) ? bit : 0));
      return;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] =
          static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
      return;
    }
    case 8:
      row[x] = index;
      return;
    default:
      throw std::logic_error("Image::SetIndex: no palette indices at this depth");
  }
}

void Image::SetColour(int x, int y, PaletteEntry colour) {
  if (BitsPerPixel <= 8) throw std::logic_error("Image::SetColour: palette image");
  CheckCoordinates(*this, x, y);
  uint8_t* p = Pixels.data() + size_t(y) * BytesPerRow() + size_t(x) * (BitsPerPixel / 8);
  if (BitsPerPixel == 24) {
    p[0] = colour.Blue;
    p[1] = colour.Green;
    p[2] = colour.Red;
    return;
  }
  const Masks m = EffectiveMasks(*this);
  const uint32_t pixel = InsertField(colour.Red, m.Red) | InsertField(colour.Green, m.Green) |
                         InsertField(colour.Blue, m.Blue);
  for (int i = 0; i < BitsPerPixel / 8; ++i) p[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

namespace {

// The checked header of the bitmap whose info header starts at BASE: the picture with its palette
// and masks but no pixels yet, and where its rows lie. They start at PIXELOFFSET, or right after
// the palette when there is none (a packed bitmap, as resources hold it).
struct DibLayout {
  Image Picture;
  uint64_t PixelOffset = 0;
  bool TopDown = false;
};

DibLayout ReadDibLayout(const Reader& in, uint64_t base, std::optional<uint64_t> pixelOffsetGiven) {
  if (!in.Has(base, 4)) Fail("too short for a bitmap header");
  const uint32_t headerSize = in.U32(base);
  if (headerSize != kCoreHeaderSize && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
      headerSize != 108 && headerSize != 124)
    Fail("unsupported header size " + std::to_string(headerSize));
  if (!in.Has(base, headerSize)) Fail("truncated header");

  DibLayout layout;
  Image& image = layout.Picture;
  int64_t height = 0;
  uint32_t planes = 0, bits = 0, compression = kCompressionNone, paletteCount = 0;
  const bool core = headerSize == kCoreHeaderSize;
  if (core) {
    image.Width = in.U16(base + 4);
    height = in.U16(base + 6);
    planes = in.U16(base + 8);
    bits = in.U16(base + 10);
  } else {
    image.Width = in.I32(base + 4);
    height = in.I32(base + 8);
    planes = in.U16(base + 12);
    bits = in.U16(base + 14);
    compression = in.U32(base + 16);
    image.XPelsPerMeter = in.I32(base + 24);
    image.YPelsPerMeter = in.I32(base + 28);
    paletteCount = in.U32(base + 32);
  }
  if (planes != 1) Fail(std::to_string(planes) + " planes");
  if (!IsSupportedDepth(bits) || (core && (bits == 16 || bits == 32)))
    Fail("unsupported depth of " + std::to_string(bits) + " bits per pixel");
  image.BitsPerPixel = static_cast<uint16_t>(bits);
  if (compression == kCompressionRle8 || compression == kCompressionRle4)
    Fail("run-length compressed bitmaps are not supported");
  if (compression == kCompressionBitFields && bits != 16 && bits != 32)
    Fail("bit fields at " + std::to_string(bits) + " bits per pixel");
  if (compression != kCompressionNone && compression != kCompressionBitFields)
    Fail("unsupported compression " + std::to_string(compression));
  if (image.Width < 0) Fail("negative width");
  if (height == INT32_MIN) Fail("unusable height");
  layout.TopDown = height < 0;
  image.Height = static_cast<int32_t>(layout.TopDown ? -height : height);

  uint64_t paletteStart = base + headerSize;
  if (compression == kCompressionBitFields) {
    // A 40-byte header is followed by the three masks; the longer ones hold them.
    const uint64_t masksAt = base + kInfoHeaderSize;
    image.RedMask = in.U32(masksAt);
    image.GreenMask = in.U32(masksAt + 4);
    image.BlueMask = in.U32(masksAt + 8);
    CheckMasks({image.RedMask, image.GreenMask, image.BlueMask}, bits);
    if (headerSize == kInfoHeaderSize) paletteStart += 12;
  }

  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (paletteCount == 0) paletteCount = most;
    if (paletteCount > most)
      Fail(std::to_string(paletteCount) + " palette entries for " + std::to_string(bits) +
           " bits per pixel");
    const uint32_t entrySize = core ? 3 : 4;
    if (!in.Has(paletteStart, uint64_t{paletteCount} * entrySize)) Fail("truncated palette");
    const uint8_t* p = in.Bytes(paletteStart, uint64_t{paletteCount} * entrySize);
    image.Palette.resize(paletteCount);
    for (uint32_t i = 0; i < paletteCount; ++i, p += entrySize)
      image.Palette[i] = {p[0], p[1], p[2], 0};
    paletteStart += uint64_t{paletteCount} * entrySize;
  }
  layout.PixelOffset = pixelOffsetGiven.value_or(paletteStart);
  if (layout.PixelOffset < paletteStart) Fail("pixel rows overlap the header or palette");

  const uint64_t rowBytes = RowBytes(image.Width, bits);
  if (rowBytes > INT32_MAX) Fail("too wide");
  const uint64_t total = rowBytes * uint64_t(image.Height);
  if (!in.Has(layout.PixelOffset, total))
    Fail("pixel rows truncated: " + std::to_string(total) + " bytes needed at offset " +
         std::to_string(layout.PixelOffset) + ", file has " + std::to_string(in.Size()));
  return layout;
}

// The bitmap whose info header starts at BASE, its rows read.
Image ReadDib(const Reader& in, uint64_t base, std::optional<uint64_t> pixelOffsetGiven) {
  DibLayout layout = ReadDibLayout(in, base, pixelOffsetGiven);
  Image& image = layout.Picture;
  const uint64_t rowBytes = RowBytes(image.Width, image.BitsPerPixel);
  const uint64_t total = rowBytes * uint64_t(image.Height);
  image.Pixels.resize(total);
  // A picture of width or height 0 has no pixel bytes to copy (and no buffer to copy them to).
  const uint8_t* rows = total ? in.Bytes(layout.PixelOffset, total) : nullptr;
  for (int32_t y = 0; rows && y < image.Height; ++y) {
    const int32_t stored = layout.TopDown ? y : image.Height - 1 - y;
    std::memcpy(image.Pixels.data() + y * rowBytes, rows + stored * rowBytes, rowBytes);
  }
  ClearRowPadding(image);
  return std::move(image);
}

}  // namespace

namespace {

void CheckFileHeader(const Reader& in, std::span<const uint8_t> file) {
  if (!in.Has(0, kFileHeaderSize + 4)) Fail("too short for a BMP header");
  if (file[0] != 'B' || file[1] != 'M') Fail("no \"BM\" signature");
}

}  // namespace

Image ReadBmpFile(std::span<const uint8_t> file) {
  const Reader in(file);
  CheckFileHeader(in, file);
  return ReadDib(in, kFileHeaderSize, in.U32(10));
}

Image ReadBmpFileHeader(std::span<const uint8_t> file) {
  const Reader in(file);
  CheckFileHeader(in, file);
  return ReadDibLayout(in, kFileHeaderSize, in.U32(10)).Picture;
}

Image ReadPackedDib(std::span<const uint8_t> dib) { return ReadDib(Reader(dib), 0, std::nullopt); }

std::vector<uint8_t> WriteBmpFile(const Image& image) {
  if (!image.Valid()) throw EInvalidGraphic("WriteBmpFile: inconsistent bitmap");
  const uint32_t bits = image.BitsPerPixel;
  const bool palettised = bits <= 8;
  if (palettised && (image.Palette.empty() || image.Palette.size() > (1u << bits)))
    throw EInvalidGraphic("WriteBmpFile: a " + std::to_string(bits) + "-bit bitmap needs 1 to " +
                          std::to_string(1u << bits) + " palette entries");
  const bool bitFields =
      (bits == 16 || bits == 32) && (image.RedMask | image.GreenMask | image.BlueMask) != 0;
  if (bitFields) CheckMasks(EffectiveMasks(image), bits);

  const uint32_t paletteCount = palettised ? static_cast<uint32_t>(image.Palette.size()) : 0;
  const uint64_t rowBytes = image.BytesPerRow();
  const uint64_t imageSize = rowBytes * uint64_t(image.Height);
  const uint64_t pixelOffset =
      kFileHeaderSize + kInfoHeaderSize + (bitFields ? 12 : 0) + 4ull * paletteCount;
  const uint64_t fileSize = pixelOffset + imageSize;
  if (fileSize > UINT32_MAX) throw EInvalidGraphic("WriteBmpFile: bitmap too large for a file");

  std::vector<uint8_t> out;
  out.reserve(fileSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, static_cast<uint32_t>(fileSize));
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(pixelOffset));
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<uint32_t>(image.Width));
  PutU32(out, static_cast<uint32_t>(image.Height));
  PutU16(out, 1);
  PutU16(out, bits);
  PutU32(out, bitFields ? kCompressionBitFields : kCompressionNone);
  PutU32(out, static_cast<uint32_t>(imageSize));
  PutU32(out, static_cast<uint32_t>(image.XPelsPerMeter));
  PutU32(out, static_cast<uint32_t>(image.YPelsPerMeter));
  PutU32(out, paletteCount);
  PutU32(out, 0);
  if (bitFields) {
    PutU32(out, image.RedMask);
    PutU32(out, image.GreenMask);
    PutU32(out, image.BlueMask);
  }
  for (uint32_t i = 0; i < paletteCount; ++i) {
    const PaletteEntry& e = image.Palette[i];
    out.insert(out.end(), {e.Blue, e.Green, e.Red, 0});
  }
  // Rows bottom-up; the copy goes through a padding-cleared image so that the file's padding is 0.
  Image clean;
  const Image* source = &image;
  const uint64_t usedBits = uint64_t(image.Width) * bits;
  if (usedBits < rowBytes * 8 && image.Height > 0) {
    clean = image;
    ClearRowPadding(clean);
    source = &clean;
  }
  for (int32_t y = image.Height - 1; y >= 0; --y) {
    const uint8_t* row = source->Pixels.data() + y * rowBytes;
    out.insert(out.end(), row, row + rowBytes);
  }
  return out;
}

void NormalizePixelFormat(Image& image) {
  if (!image.Valid()) throw EInvalidGraphic("NormalizePixelFormat: inconsistent bitmap");
  const uint16_t bits = image.BitsPerPixel;
  if (bits == 8 || bits == 24) return;
  Image converted = Image::Create(image.Width, image.Height, bits < 8 ? 8 : 24);
  converted.XPelsPerMeter = image.XPelsPerMeter;
  converted.YPelsPerMeter = image.YPelsPerMeter;
  if (bits < 8) {
    converted.Palette = image.Palette;
    for (int32_t y = 0; y < image.Height; ++y)
      for (int32_t x = 0; x < image.Width; ++x) converted.SetIndex(x, y, image.Index(x, y));
  } else {
    for (int32_t y = 0; y < image.Height; ++y)
      for (int32_t x = 0; x < image.Width; ++x) converted.SetColour(x, y, image.Colour(x, y));
  }
  image = std::move(converted);
}

Image ToTrueColour(const Image& image) {
  if (!image.Valid()) throw EInvalidGraphic("ToTrueColour: inconsistent bitmap");
  Image converted = Image::Create(image.Width, image.Height, 24);
  converted.XPelsPerMeter = image.XPelsPerMeter;
  converted.YPelsPerMeter = image.YPelsPerMeter;
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) converted.SetColour(x, y, image.Colour(x, y));
  return converted;
}

std::vector<uint8_t> EncodeBitmapProperty(std::span<const uint8_t> bmpFile) {
  if (bmpFile.size() > UINT32_MAX) throw EInvalidGraphic("Bitmap file too large to store");
  std::vector<uint8_t> value;
  value.reserve(4 + bmpFile.size());
  PutU32(value, static_cast<uint32_t>(bmpFile.size()));
  value.insert(value.end(), bmpFile.begin(), bmpFile.end());
  return value;
}

std::span<const uint8_t> DecodeBitmapProperty(std::span<const uint8_t> value) {
  const Reader in(value);
  if (!in.Has(0, 4)) throw EInvalidGraphic("Stored bitmap value shorter than its 4-byte length");
  const uint32_t length = in.U32(0);
  if (length != value.size() - 4)
    throw EInvalidGraphic("Stored bitmap value: length " + std::to_string(length) + " but " +
                          std::to_string(value.size() - 4) + " bytes follow");
  return value.subspan(4);
}
