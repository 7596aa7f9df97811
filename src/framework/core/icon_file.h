#pragma once
// Icon files (.ico) in memory: the directory and the images it points to. Every offset and size
// is checked against the file, so a malformed stored icon is an error, never a read outside it.
#include <cstdint>
#include <span>
#include <vector>

struct IconFileImage {
  int Width = 0, Height = 0;  // as the directory says (its 0 means 256)
  uint16_t BitsPerPixel = 0;  // the directory's, else the image header's
  // The image as the platform makes an icon of it: a 40-byte bitmap header of twice the height,
  // colours, then the mask; or a PNG file. A view into the file.
  std::span<const uint8_t> Data;
};

// The images of an icon file in directory order. Throws EInvalidGraphic unless the file is an
// icon (not a cursor) with at least one image, each lying whole inside the file and starting
// with a bitmap header or a PNG signature.
std::vector<IconFileImage> ReadIconFile(std::span<const uint8_t> file);
