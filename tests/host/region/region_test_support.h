#pragma once
// Helpers of the region and bitmap tests: pictures from text pixel maps, little-endian reads,
// and an independent check of the canonical banded form.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/exception.h"
#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"

namespace region_test {

// An 8-bit picture from rows of text: '.' is palette index 0, '#' index 1, 'a'.. 'z' indices 2 to
// 27. The palette has 28 distinct grey levels unless `palette` is given.
inline Image PixelMap(std::initializer_list<std::string> rows,
                      std::vector<PaletteEntry> palette = {}) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows.begin()->size()) : 0;
  Image image = Image::Create(width, height, 8);
  if (palette.empty())
    for (int i = 0; i < 28; ++i)
      palette.push_back({uint8_t(i * 9), uint8_t(i * 9), uint8_t(i * 9), 0});
  image.Palette = palette;
  int y = 0;
  for (const std::string& row : rows) {
    EXPECT_EQ(static_cast<int>(row.size()), width) << "ragged pixel map";
    for (int x = 0; x < width && x < static_cast<int>(row.size()); ++x) {
      const char c = row[x];
      image.SetIndex(x, y, c == '.' ? 0 : c == '#' ? 1 : static_cast<uint8_t>(c - 'a' + 2));
    }
    ++y;
  }
  return image;
}

// What `work` throws, as "EInvalidGraphic: message" (or EConvertError, Exception), or
// "(accepted)" when it throws nothing.
template <class Work>
std::string Outcome(Work&& work) {
  try {
    work();
  } catch (const EInvalidGraphic& e) {
    return "EInvalidGraphic: " + e.Message();
  } catch (const EConvertError& e) {
    return "EConvertError: " + e.Message();
  } catch (const Exception& e) {
    return "Exception: " + e.Message();
  }
  return "(accepted)";
}

inline uint32_t U32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}
inline int32_t I32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<int32_t>(U32(bytes, at));
}
inline uint16_t U16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The blob's rectangles, after checking its header by hand.
inline std::vector<Rect> RectsOf(std::span<const uint8_t> blob) {
  std::vector<Rect> rects;
  EXPECT_GE(blob.size(), 32u);
  if (blob.size() < 32) return rects;
  const uint32_t n = U32(blob, 8);
  EXPECT_EQ(U32(blob, 0), 32u);
  EXPECT_EQ(U32(blob, 4), 1u);
  EXPECT_EQ(U32(blob, 12), 16 * n);
  EXPECT_EQ(blob.size(), 32 + 16 * size_t{n});
  for (size_t at = 32; at + 16 <= blob.size(); at += 16)
    rects.push_back({I32(blob, at), I32(blob, at + 4), I32(blob, at + 8), I32(blob, at + 12)});
  return rects;
}

inline Rect BoundOf(std::span<const uint8_t> blob) {
  return {I32(blob, 16), I32(blob, 20), I32(blob, 24), I32(blob, 28)};
}

// Checks every rule of the canonical banded form on a blob: bands of equal top and bottom, left
// to right with a gap between rectangles, top to bottom without overlap, no two touching bands
// with the same columns, and the least bounding rectangle.
inline void ExpectCanonical(std::span<const uint8_t> blob) {
  const std::vector<Rect> rects = RectsOf(blob);
  Rect bound{};
  if (!rects.empty()) bound = rects.front();
  std::vector<std::pair<int32_t, int32_t>> previousColumns, columns;
  int32_t previousBottom = INT32_MIN, bandTop = 0, bandBottom = 0;
  for (size_t i = 0; i <= rects.size(); ++i) {
    const bool newBand = i == rects.size() || i == 0 || rects[i].Top != bandTop;
    if (newBand && i > 0) {
      EXPECT_GE(bandTop, previousBottom) << "bands overlap at rectangle " << i;
      if (bandTop == previousBottom) {
        EXPECT_NE(columns, previousColumns) << "touching bands with equal runs at " << bandTop;
      }
      previousColumns = columns;
      previousBottom = bandBottom;
      columns.clear();
    }
    if (i == rects.size()) break;
    const Rect& r = rects[i];
    EXPECT_LT(r.Left, r.Right);
    EXPECT_LT(r.Top, r.Bottom);
    if (newBand) {
      bandTop = r.Top;
      bandBottom = r.Bottom;
    } else {
      EXPECT_EQ(r.Bottom, bandBottom) << "ragged band at " << r.Top;
      EXPECT_GT(r.Left, columns.back().second) << "rectangles touch or overlap in band " << r.Top;
    }
    columns.push_back({r.Left, r.Right});
    bound = {std::min(bound.Left, r.Left), std::min(bound.Top, r.Top),
             std::max(bound.Right, r.Right), std::max(bound.Bottom, r.Bottom)};
  }
  EXPECT_EQ(BoundOf(blob), bound);
}

}  // namespace region_test
