#pragma once
// Outlines of frame bitmaps: the row runs of the non-transparent pixels, the stored region data
// blob (the platform's RGNDATA layout in its canonical banded form) and a region type that reads
// such blobs with a scale and an offset.
//
// Blob layout, all integers little-endian: header size 32, type 1 (rectangles), rectangle count
// n, 16 x n, bounding rectangle; then n rectangles (left, top, right, bottom; right and bottom
// exclusive). Canonical form: rows with identical run lists that touch form one band; bands top
// to bottom, rectangles of a band left to right, never touching; the bound is the least
// rectangle holding them all, (0, 0, 0, 0) when n is 0.
#include <cstdint>
#include <span>
#include <vector>

#include "framework/core/bmp_file.h"

struct Rect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const Rect&) const = default;
};

struct Run {  // [Left, Right)
  int32_t Left, Right;
  bool operator==(const Run&) const = default;
};

using RowRuns = std::vector<std::vector<Run>>;  // one run list per bitmap row, top-down

// The maximal runs of non-transparent pixels of every row. The key is the bottom-left pixel (its
// palette index at 8 bits, its three bytes at 24 bits); a row may hold 101 runs only when the
// 101st ends at most one pixel before the right edge, otherwise EInvalidGraphic
// "ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です". The image must have 8 or 24 bits per pixel (std::invalid_argument).
RowRuns ScanRuns(const Image& image);
// The canonical blob of the union of the rows' runs (row y covers y..y+1). Run lists need not be
// sorted or disjoint. EConvertError "ﾘｰｼﾞｮﾝﾃﾞｰﾀが抽出できません" if the blob would not fit 2 GiB.
std::vector<uint8_t> WriteRegionData(const RowRuns& rows);
// Checks the bitmap, normalises its pixel format in place (NormalizePixelFormat), scans it and
// returns the canonical blob. EInvalidGraphic "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません" when the image
// is blank (0 x 0) or inconsistent (Image::Valid), "幅または高さが 0 です" when only one side is 0,
// the scan's shape error; Exception "ﾒﾓﾘ獲得に失敗しました" when memory runs out.
std::vector<uint8_t> BmpToRgnData(Image& image);
// The rectangles of a blob as stored. EConvertError unless the header reads 32, 1, n, 16 x n and
// the blob is exactly 32 + 16 x n bytes long (the bound is not checked).
std::vector<Rect> ReadRegionData(std::span<const uint8_t> blob);

// A set of pixels as a union of rectangles, kept in the canonical banded form.
class Region {
 public:
  static Region FromRects(std::span<const Rect> rects);  // rects with no area add nothing
  // The blob's rectangles mapped by x' = x * scaleX + offsetX, y' = y * scaleY + offsetY, as the
  // platform's ExtCreateRegion maps them: each corner is computed in double precision from the
  // single-precision factors and rounded half up (floor(v + 0.5)); a rectangle then covers
  // [min, max) of its two mapped corners on each axis, so negative scales mirror it and a zero
  // scale empties it. Results beyond the 32-bit range are clamped. EConvertError on a malformed
  // blob.
  static Region FromBlob(std::span<const uint8_t> blob, float scaleX = 1, float scaleY = 1,
                         float offsetX = 0, float offsetY = 0);
  void Unite(const Region& other);
  bool Contains(int32_t x, int32_t y) const;
  Rect Bounds() const;  // (0, 0, 0, 0) when empty
  bool Empty() const { return rects_.empty(); }
  const std::vector<Rect>& Rects() const { return rects_; }  // canonical banded order
  std::vector<uint8_t> ToBlob() const;                       // canonical banded blob
  bool operator==(const Region&) const = default;            // same pixel set

 private:
  static Region FromRectList(std::vector<Rect> rects);
  std::vector<Rect> rects_;
};
