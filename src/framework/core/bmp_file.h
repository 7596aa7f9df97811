#pragma once
// Windows BMP files in memory: reading every common depth, writing the layout the frames are
// stored in, the pixel-format normalisation of the outline maker, and the stored bitmap property
// (a 32-bit length followed by the file).
#include <compare>
#include <cstdint>
#include <span>
#include <vector>

struct PaletteEntry {
  uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
  bool operator==(const PaletteEntry&) const = default;
  auto operator<=>(const PaletteEntry&) const = default;  // blue first; lets colours be keys
};

// A bitmap in memory.
struct Image {
  int32_t Width = 0, Height = 0;
  uint16_t BitsPerPixel = 0;          // 1, 4, 8, 16, 24 or 32
  std::vector<PaletteEntry> Palette;  // for 1, 4, 8 bits per pixel: the entries used
  std::vector<uint8_t> Pixels;        // rows top-down, each BytesPerRow() long (padded to 4 bytes)
  int32_t XPelsPerMeter = 0, YPelsPerMeter = 0;
  // Bit-field masks of 16- and 32-bit pixels; all three 0 means the depth's plain layout
  // (16 bits: 5-5-5, x-red-green-blue from the high bit; 32 bits: blue, green, red, unused bytes).
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;

  // An image of the given size and depth with every pixel byte 0 and no palette.
  static Image Create(int32_t width, int32_t height, uint16_t bitsPerPixel);

  int32_t BytesPerRow() const;
  bool Empty() const;  // no pixels (width or height 0)
  // The depth is one of the six, width and height are not negative and Pixels holds exactly
  // BytesPerRow() x Height bytes.
  bool Valid() const;
  uint8_t Index(int x, int y) const;  // palette index at (x, y), y from the top, for <= 8 bits
  PaletteEntry Colour(int x, int y) const;            // the colour at (x, y) for every depth
  void SetIndex(int x, int y, uint8_t index);         // for <= 8 bits
  void SetColour(int x, int y, PaletteEntry colour);  // for 16, 24 and 32 bits
  bool operator==(const Image&) const = default;
};

// Append a 16- or 32-bit value to a file's bytes, little-endian.
void PutU16(std::vector<uint8_t>& out, uint32_t value);
void PutU32(std::vector<uint8_t>& out, uint32_t value);

// Parses a BMP file (info headers of 12, 40, 52, 56, 108 or 124 bytes; 1, 4, 8, 16, 24 or 32
// bits per pixel; uncompressed or bit fields; rows bottom-up or top-down). Throws EInvalidGraphic
// with a clear message on anything malformed or unsupported; never reads outside the input.
Image ReadBmpFile(std::span<const uint8_t> file);
// The same checks, and the picture without its pixels (Pixels empty): what ReadBmpFile gives
// but for the rows, which it does not copy.
Image ReadBmpFileHeader(std::span<const uint8_t> file);
// A packed bitmap (a bitmap resource): the info header, the palette or masks, then the pixel
// rows, without a file header. Same depths, layouts and errors as ReadBmpFile.
Image ReadPackedDib(std::span<const uint8_t> dib);
// "BM" file, 40-byte header, bottom-up rows: palette entries used = Palette.size(), important
// colours 0. 16- and 32-bit images with masks get the three masks after the header (bit fields).
std::vector<uint8_t> WriteBmpFile(const Image& image);
// 1 and 4 bits per pixel become 8 with the same palette and indices; 8 and 24 stay; 16 and 32
// become 24 with the same colours.
void NormalizePixelFormat(Image& image);
// The same picture in 24 bits per pixel (every depth, same colours): drawing on it keeps every
// colour, where drawing on a palette picture would map them to the nearest of its palette.
Image ToTrueColour(const Image& image);
// The stored bitmap value: 32-bit little-endian length N, then the N bytes of the file.
std::vector<uint8_t> EncodeBitmapProperty(std::span<const uint8_t> bmpFile);
// Its inverse: the N file bytes, where they lie in VALUE; throws EInvalidGraphic unless the value
// is exactly 4 + N long.
std::span<const uint8_t> DecodeBitmapProperty(std::span<const uint8_t> value);
