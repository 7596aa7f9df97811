#include "region/core/region_data.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <stdexcept>
#include <string>

#include "framework/core/exception.h"

namespace {

constexpr char kBitmapNotSet[] = "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません";
constexpr char kZeroSize[] = "幅または高さが 0 です";
constexpr char kBadShape[] = "ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です";
constexpr char kExportFailed[] = "ﾘｰｼﾞｮﾝﾃﾞｰﾀが抽出できません";
constexpr char kOutOfMemory[] = "ﾒﾓﾘ獲得に失敗しました";

constexpr size_t kMostRuns = 100;  // a row fails when more are taken and x is still inside it
constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kRectanglesType = 1;  // RDH_RECTANGLES
constexpr uint32_t kRectSize = 16;

void CheckScannable(const Image& image) {
  if (!image.Valid() || (image.Width == 0 && image.Height == 0))
    throw EInvalidGraphic(kBitmapNotSet);
  if (image.Width == 0 || image.Height == 0) throw EInvalidGraphic(kZeroSize);
}

// The rows' maximal runs of pixels that differ from the bottom-left one, top-down. Bytes is 1
// (palette index) or 3 (blue, green, red).
template <int Bytes>
RowRuns ScanRows(const Image& image) {
  const int32_t width = image.Width;
  const size_t stride = image.BytesPerRow();
  auto pixel = [](const uint8_t* p) -> uint32_t {
    if constexpr (Bytes == 1) return p[0];
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  };
  const uint32_t key = pixel(image.Pixels.data() + (image.Height - 1) * stride);
  RowRuns rows(image.Height);
  std::vector<Run> runs;
  runs.reserve(kMostRuns + 1);
  for (int32_t y = 0; y < image.Height; ++y) {
    const uint8_t* row = image.Pixels.data() + y * stride;
    auto transparent = [&](int32_t x) { return pixel(row + size_t(x) * Bytes) == key; };
    runs.clear();
    int32_t x = 0;
    while (x < width) {
      if (runs.size() > kMostRuns) throw EInvalidGraphic(kBadShape);
      while (x < width && transparent(x)) ++x;
      if (x >= width) break;
      const int32_t start = x;
      while (x < width && !transparent(x)) ++x;
      runs.push_back({start, x});
      ++x;  // the pixel at x is transparent or past the row's end
    }
    rows[y].assign(runs.begin(), runs.end());
  }
  return rows;
}

// Sorted, non-empty, and at least one column between neighbours.
bool IsCanonicalRow(std::span<const Run> runs) {
  for (size_t i = 0; i < runs.size(); ++i) {
    if (runs[i].Left >= runs[i].Right) return false;
    if (i > 0 && runs[i].Left <= runs[i - 1].Right) return false;
  }
  return true;
}

// Sorts the runs, drops the empty ones and merges those that overlap or touch.
void CanonicaliseRow(std::vector<Run>& runs) {
  std::erase_if(runs, [](const Run& r) { return r.Left >= r.Right; });
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.Left < b.Left; });
  size_t kept = 0;
  for (const Run& r : runs) {
    if (kept > 0 && r.Left <= runs[kept - 1].Right)
      runs[kept - 1].Right = std::max(runs[kept - 1].Right, r.Right);
    else
      runs[kept++] = r;
  }
  runs.resize(kept);
}

// Collects rows of canonical runs, given top to bottom without overlap, into canonical bands:
// a row that touches the last band and has the same runs extends it.
class BandWriter {
 public:
  void AddRow(int32_t top, int32_t bottom, std::span<const Run> runs) {
    if (runs.empty()) return;
    if (!rects_.empty() && bandBottom_ == top && SameRunsAsLastBand(runs)) {
      for (size_t i = bandStart_; i < rects_.size(); ++i) rects_[i].Bottom = bottom;
    } else {
      bandStart_ = rects_.size();
      for (const Run& r : runs) rects_.push_back({r.Left, top, r.Right, bottom});
    }
    bandBottom_ = bottom;
  }
  void Reserve(size_t rects) { rects_.reserve(rects); }
  std::vector<Rect> Take() { return std::move(rects_); }

 private:
  bool SameRunsAsLastBand(std::span<const Run> runs) const {
    if (rects_.size() - bandStart_ != runs.size()) return false;
    for (size_t i = 0; i < runs.size(); ++i) {
      const Rect& r = rects_[bandStart_ + i];
      if (r.Left != runs[i].Left || r.Right != runs[i].Right) return false;
    }
    return true;
  }
  std::vector<Rect> rects_;
  size_t bandStart_ = 0;
  int32_t bandBottom_ = 0;
};

// Rectangles in canonical banded order, no gap-free neighbours, no mergeable bands.
bool IsCanonical(std::span<const Rect> rects) {
  size_t bandStart = 0, previousStart = 0;
  bool havePrevious = false;
  for (size_t i = 0; i <= rects.size(); ++i) {
    if (i < rects.size()) {
      const Rect& r = rects[i];
      if (r.Left >= r.Right || r.Top >= r.Bottom) return false;
      if (i > bandStart) {
        const Rect& before = rects[i - 1];
        if (r.Top == before.Top) {
          if (r.Bottom != before.Bottom || r.Left <= before.Right) return false;
          continue;
        }
      }
    }
    if (i == bandStart) continue;
    // rects[bandStart, i) is a band; compare it with the previous one.
    if (havePrevious) {
      const Rect& previous = rects[previousStart];
      const Rect& band = rects[bandStart];
      if (band.Top < previous.Bottom) return false;
      if (band.Top == previous.Bottom && i - bandStart == bandStart - previousStart &&
          std::equal(
              rects.begin() + bandStart, rects.begin() + i, rects.begin() + previousStart,
              [](const Rect& a, const Rect& b) { return a.Left == b.Left && a.Right == b.Right; }))
        return false;
    }
    havePrevious = true;
    previousStart = bandStart;
    bandStart = i;
  }
  return true;
}

void StoreU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreRect(uint8_t* p, const Rect& r) {
  StoreU32(p, static_cast<uint32_t>(r.Left));
  StoreU32(p + 4, static_cast<uint32_t>(r.Top));
  StoreU32(p + 8, static_cast<uint32_t>(r.Right));
  StoreU32(p + 12, static_cast<uint32_t>(r.Bottom));
}

Rect BoundsOf(std::span<const Rect> canonical) {
  if (canonical.empty()) return {};
  Rect bound{canonical.front().Left, canonical.front().Top, canonical.front().Right,
             canonical.back().Bottom};
  for (const Rect& r : canonical) {
    bound.Left = std::min(bound.Left, r.Left);
    bound.Right = std::max(bound.Right, r.Right);
  }
  return bound;
}

std::vector<uint8_t> Serialise(std::span<const Rect> canonical) {
  const uint64_t size = kHeaderSize + uint64_t{kRectSize} * canonical.size();
  if (size > INT32_MAX) throw EConvertError(kExportFailed);
  std::vector<uint8_t> blob(size);
  uint8_t* p = blob.data();
  StoreU32(p, kHeaderSize);
  StoreU32(p + 4, kRectanglesType);
  StoreU32(p + 8, static_cast<uint32_t>(canonical.size()));
  StoreU32(p + 12, static_cast<uint32_t>(kRectSize * canonical.size()));
  StoreRect(p + 16, BoundsOf(canonical));
  p += kHeaderSize;
  for (const Rect& r : canonical) {
    StoreRect(p, r);
    p += kRectSize;
  }
  return blob;
}

[[noreturn]] void FailBlob(const std::string& what) {
  throw EConvertError("Invalid region data: " + what);
}

// floor(v + 0.5) as the platform rounds mapped coordinates, held in the 32-bit range.
int32_t RoundCoordinate(double v) {
  if (std::isnan(v)) return 0;
  const double rounded = std::floor(v + 0.5);
  if (rounded <= INT32_MIN) return INT32_MIN;
  if (rounded >= INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(rounded);
}

}  // namespace

RowRuns ScanRuns(const Image& image) {
  CheckScannable(image);
  if (image.BitsPerPixel == 8) return ScanRows<1>(image);
  if (image.BitsPerPixel == 24) return ScanRows<3>(image);
  throw std::invalid_argument("ScanRuns: the bitmap must have 8 or 24 bits per pixel");
}

std::vector<uint8_t> WriteRegionData(const RowRuns& rows) {
  BandWriter bands;
  size_t runs = 0;
  for (const std::vector<Run>& row : rows) runs += row.size();
  bands.Reserve(runs);
  std::vector<Run> scratch;
  for (size_t y = 0; y < rows.size(); ++y) {
    const int32_t top = static_cast<int32_t>(y);
    if (IsCanonicalRow(rows[y])) {
      bands.AddRow(top, top + 1, rows[y]);
    } else {
      scratch = rows[y];
      CanonicaliseRow(scratch);
      bands.AddRow(top, top + 1, scratch);
    }
  }
  return Serialise(bands.Take());
}

std::vector<uint8_t> BmpToRgnData(Image& image) {
  CheckScannable(image);
  try {
    NormalizePixelFormat(image);
    return WriteRegionData(ScanRuns(image));
  } catch (const std::bad_alloc&) {
    throw Exception(kOutOfMemory);
  }
}

std::vector<Rect> ReadRegionData(std::span<const uint8_t> blob) {
  if (blob.size() < kHeaderSize)
    FailBlob(std::to_string(blob.size()) + " bytes, shorter than its 32-byte header");
  const uint8_t* p = blob.data();
  const uint32_t headerSize = LoadU32(p), type = LoadU32(p + 4), count = LoadU32(p + 8),
                 listSize = LoadU32(p + 12);
  if (headerSize != kHeaderSize) FailBlob("header size " + std::to_string(headerSize));
  if (type != kRectanglesType) FailBlob("type " + std::to_string(type));
  const uint64_t expected = uint64_t{kRectSize} * count;
  if (listSize != expected)
    FailBlob("list size " + std::to_string(listSize) + " for " + std::to_string(count) +
             " rectangles");
  if (blob.size() - kHeaderSize != expected)
    FailBlob(std::to_string(blob.size()) + " bytes for " + std::to_string(count) + " rectangles");
  std::vector<Rect> rects(count);
  p += kHeaderSize;
  for (Rect& r : rects) {
    r = {static_cast<int32_t>(LoadU32(p)), static_cast<int32_t>(LoadU32(p + 4)),
         static_cast<int32_t>(LoadU32(p + 8)), static_cast<int32_t>(LoadU32(p + 12))};
    p += kRectSize;
  }
  return rects;
}

Region Region::FromRects(std::span<const Rect> rects) {
  return FromRectList({rects.begin(), rects.end()});
}

Region Region::FromRectList(std::vector<Rect> rects) {
  Region region;
  if (IsCanonical(rects)) {
    region.rects_ = std::move(rects);
    return region;
  }
  std::erase_if(rects, [](const Rect& r) { return r.Left >= r.Right || r.Top >= r.Bottom; });
  std::sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.Top < b.Top; });
  std::vector<int32_t> edges;
  edges.reserve(2 * rects.size());
  for (const Rect& r : rects) {
    edges.push_back(r.Top);
    edges.push_back(r.Bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  // Sweep the elementary horizontal strips between consecutive edges, keeping the rectangles
  // that cover the current strip.
  BandWriter bands;
  std::vector<const Rect*> active;
  std::vector<Run> runs;
  size_t next = 0;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int32_t top = edges[i], bottom = edges[i + 1];
    std::erase_if(active, [top](const Rect* r) { return r->Bottom <= top; });
    while (next < rects.size() && rects[next].Top == top) active.push_back(&rects[next++]);
    runs.clear();
    for (const Rect* r : active) runs.push_back({r->Left, r->Right});
    CanonicaliseRow(runs);
    bands.AddRow(top, bottom, runs);
  }
  region.rects_ = bands.Take();
  return region;
}

Region Region::FromBlob(std::span<const uint8_t> blob, float scaleX, float scaleY, float offsetX,
                        float offsetY) {
  std::vector<Rect> rects = ReadRegionData(blob);
  // Every frame loads with the identity; it needs no rounding.
  const bool identity = scaleX == 1 && scaleY == 1 && offsetX == 0 && offsetY == 0;
  auto mapX = [&](int32_t x) {
    return identity ? x : RoundCoordinate(double(x) * scaleX + offsetX);
  };
  auto mapY = [&](int32_t y) {
    return identity ? y : RoundCoordinate(double(y) * scaleY + offsetY);
  };
  for (Rect& r : rects) {
    const int32_t x0 = mapX(r.Left), x1 = mapX(r.Right), y0 = mapY(r.Top), y1 = mapY(r.Bottom);
    r = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
  }
  return FromRectList(std::move(rects));
}

void Region::Unite(const Region& other) {
  if (other.rects_.empty()) return;
  if (rects_.empty()) {
    rects_ = other.rects_;
    return;
  }
  std::vector<Rect> both;
  both.reserve(rects_.size() + other.rects_.size());
  both.insert(both.end(), rects_.begin(), rects_.end());
  both.insert(both.end(), other.rects_.begin(), other.rects_.end());
  *this = FromRectList(std::move(both));
}

bool Region::Contains(int32_t x, int32_t y) const {
  // Bottoms never decrease along the canonical list: find the band holding row y.
  auto band = std::upper_bound(rects_.begin(), rects_.end(), y,
                               [](int32_t v, const Rect& r) { return v < r.Bottom; });
  if (band == rects_.end() || band->Top > y) return false;
  const int32_t top = band->Top;
  auto bandEnd =
      std::upper_bound(band, rects_.end(), top, [](int32_t v, const Rect& r) { return v < r.Top; });
  auto hit =
      std::upper_bound(band, bandEnd, x, [](int32_t v, const Rect& r) { return v < r.Right; });
  return hit != bandEnd && hit->Left <= x;
}

Rect Region::Bounds() const { return BoundsOf(rects_); }

std::vector<uint8_t> Region::ToBlob() const { return Serialise(rects_); }
