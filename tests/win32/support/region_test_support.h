#pragma once
// Helpers of the region tests: regions read back as the Windows-free Region type, pictures from
// text pixel maps, and painting a control into a bitmap.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/core/bmp_file.h"
#include "framework/core/exception.h"
#include "framework/graphics.h"
#include "region/core/region_data.h"

namespace region_test {

// The message of the framework exception that WORK throws, or "(no error)".
template <class Work>
std::string ErrorOf(Work&& work) {
  try {
    work();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

// The pixels of a platform region (empty for a null handle).
inline Region RegionOf(HRGN region) {
  if (!region) return {};
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<uint8_t> blob(size);
  if (size == 0 || !GetRegionData(region, size, reinterpret_cast<RGNDATA*>(blob.data()))) {
    ADD_FAILURE() << "GetRegionData failed";
    return {};
  }
  return Region::FromBlob(blob);
}

// The window's outline; *type receives GetWindowRgn's answer (ERROR when it has none).
inline Region WindowOutline(HWND window, int* type = nullptr) {
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  const int answer = GetWindowRgn(window, region.Get());
  if (type) *type = answer;
  return answer == ERROR ? Region{} : RegionOf(region.Get());
}

inline PaletteEntry Rgb(uint8_t red, uint8_t green, uint8_t blue) { return {blue, green, red, 0}; }

// An 8-bit picture from rows of text: each character is a palette index, '0' to '9'.
inline Image Picture(std::initializer_list<std::string> rows, std::vector<PaletteEntry> palette) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows.begin()->size()) : 0;
  Image image = Image::Create(width, height, 8);
  image.Palette = std::move(palette);
  int y = 0;
  for (const std::string& row : rows) {
    for (int x = 0; x < width; ++x) image.SetIndex(x, y, static_cast<uint8_t>(row.at(x) - '0'));
    ++y;
  }
  return image;
}

// A disk of palette index 1 with radius RADIUS in the middle of a SIZE x SIZE picture whose other
// pixels have index 0; index 0 is (0, 200, 0), index 1 is COLOUR.
inline Image Disk(int size, int radius, PaletteEntry colour) {
  Image image = Image::Create(size, size, 8);
  image.Palette = {Rgb(0, 200, 0), colour};
  const int centre = size / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if ((x - centre) * (x - centre) + (y - centre) * (y - centre) <= radius * radius)
        image.SetIndex(x, y, 1);
  return image;
}

// What CONTROL paints over a WIDTH x HEIGHT surface filled with BACKGROUND, at 24 bits.
inline Image PaintInto(TGraphicControl& control, int width, int height, PaletteEntry background) {
  TBitmap target;
  target.SetSize(width, height);
  HDC dc = target.Canvas()->Handle();
  BrushHandle brush(CreateSolidBrush(RGB(background.Red, background.Green, background.Blue)));
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, brush.Get());
  control.PaintOn(dc);
  return target.GetImage();
}

}  // namespace region_test
