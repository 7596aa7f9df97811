#include <gtest/gtest.h>

#include <vector>

#include "framework/core/exception.h"
#include "region/core/region_data.h"
#include "region_test_support.h"

namespace {

using region_test::RectsOf;

std::vector<uint8_t> BlobOf(std::vector<Rect> rects) { return Region::FromRects(rects).ToBlob(); }

TEST(Region, UnionIsKeptCanonical) {
  const std::vector<Rect> overlapping{{0, 0, 4, 4}, {2, 2, 6, 6}};
  EXPECT_EQ(Region::FromRects(overlapping).Rects(),
            (std::vector<Rect>{{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}));
  const std::vector<Rect> sideBySide{{2, 0, 4, 2}, {0, 0, 2, 2}};
  EXPECT_EQ(Region::FromRects(sideBySide).Rects(), (std::vector<Rect>{{0, 0, 4, 2}}));
  const std::vector<Rect> stacked{{0, 1, 3, 2}, {0, 0, 3, 1}, {5, 5, 5, 9}, {1, 1, 0, 2}};
  EXPECT_EQ(Region::FromRects(stacked).Rects(), (std::vector<Rect>{{0, 0, 3, 2}}));
  EXPECT_TRUE(Region::FromRects({}).Empty());
  const std::vector<Rect> noHeight{{0, 4, 3, 4}};
  EXPECT_TRUE(Region::FromRects(noHeight).Empty());
}

TEST(Region, ContainsIsHalfOpen) {
  const std::vector<Rect> rects{{0, 0, 2, 1}, {4, 0, 6, 1}, {1, 3, 3, 5}};
  const Region region = Region::FromRects(rects);
  EXPECT_TRUE(region.Contains(0, 0));
  EXPECT_TRUE(region.Contains(1, 0));
  EXPECT_FALSE(region.Contains(2, 0));
  EXPECT_FALSE(region.Contains(3, 0));
  EXPECT_TRUE(region.Contains(5, 0));
  EXPECT_FALSE(region.Contains(6, 0));
  EXPECT_FALSE(region.Contains(0, 1));
  EXPECT_FALSE(region.Contains(1, 2));
  EXPECT_TRUE(region.Contains(1, 3));
  EXPECT_TRUE(region.Contains(2, 4));
  EXPECT_FALSE(region.Contains(2, 5));
  EXPECT_FALSE(region.Contains(-1, 0));
  EXPECT_FALSE(region.Contains(0, -1));
  EXPECT_EQ(region.Bounds(), (Rect{0, 0, 6, 5}));
  EXPECT_EQ(Region().Bounds(), (Rect{}));
}

TEST(Region, UniteAndEquality) {
  const std::vector<Rect> left{{0, 0, 3, 3}}, right{{3, 0, 5, 3}, {0, 3, 5, 4}};
  Region region = Region::FromRects(left);
  region.Unite(Region::FromRects(right));
  const std::vector<Rect> whole{{0, 0, 5, 4}};
  EXPECT_EQ(region, Region::FromRects(whole));
  EXPECT_EQ(region.Rects(), whole);
  Region empty;
  empty.Unite(region);
  EXPECT_EQ(empty, region);
  region.Unite(Region());
  EXPECT_EQ(region, empty);
  const std::vector<Rect> other{{0, 0, 5, 3}};
  EXPECT_FALSE(region == Region::FromRects(other));
}

TEST(Region, BlobRoundTrip) {
  const std::vector<uint8_t> blob = BlobOf({{1, 1, 3, 2}, {4, 1, 5, 2}, {0, 2, 8, 6}});
  EXPECT_EQ(RectsOf(blob), (std::vector<Rect>{{1, 1, 3, 2}, {4, 1, 5, 2}, {0, 2, 8, 6}}));
  EXPECT_EQ(Region::FromBlob(blob).ToBlob(), blob);
  EXPECT_EQ(Region().ToBlob().size(), 32u);
  EXPECT_THROW(Region::FromBlob(std::vector<uint8_t>(31, 0)), EConvertError);
}

// A frame at Left 10, Top 5 whose width is twice its bitmap's.
TEST(RegionTransform, ScaleTwoHorizontallyAndOffset) {
  const std::vector<uint8_t> blob = BlobOf({{5, 10, 9, 20}});
  const Region region = Region::FromBlob(blob, 2, 1, 10, 5);
  EXPECT_EQ(region.Rects(), (std::vector<Rect>{{20, 15, 28, 25}}));

  // A figure with holes: every bitmap pixel becomes two pixels side by side.
  const std::vector<uint8_t> figure = BlobOf({{1, 0, 2, 1}, {0, 1, 1, 3}, {2, 1, 3, 3}});
  const Region scaled = Region::FromBlob(figure, 2, 1, 10, 5);
  const Region plain = Region::FromBlob(figure);
  for (int y = -2; y < 12; ++y)
    for (int x = 0; x < 24; ++x)
      EXPECT_EQ(scaled.Contains(x, y), x >= 10 && plain.Contains((x - 10) / 2, y - 5))
          << x << ", " << y;
}

TEST(RegionTransform, CornersRoundHalfUp) {
  auto mapped = [](std::vector<Rect> rects, float sx, float sy, float dx, float dy) {
    return Region::FromBlob(BlobOf(rects), sx, sy, dx, dy).Rects();
  };
  // 1.5 and 4.5 round up to 2 and 5.
  EXPECT_EQ(mapped({{1, 0, 3, 1}}, 1.5f, 1, 0, 0), (std::vector<Rect>{{2, 0, 5, 1}}));
  // -0.5 rounds up to 0, not away from zero.
  EXPECT_EQ(mapped({{-1, 0, 1, 1}}, 1, 1, 0.5f, 0), (std::vector<Rect>{{0, 0, 2, 1}}));
  EXPECT_EQ(mapped({{0, -3, 1, -1}}, 1, 0.5f, 0, 0), (std::vector<Rect>{{0, -1, 1, 0}}));
  // Halving makes neighbours touch; they merge.
  EXPECT_EQ(mapped({{0, 0, 1, 2}, {2, 0, 3, 2}}, 0.5f, 1, 0, 0), (std::vector<Rect>{{0, 0, 2, 2}}));
  // A rectangle that rounds to no width disappears: 0 and 0.4 both round to 0.
  EXPECT_EQ(mapped({{0, 0, 1, 1}, {4, 0, 7, 1}}, 0.4f, 1, 0, 0), (std::vector<Rect>{{2, 0, 3, 1}}));
}

TEST(RegionTransform, NegativeScaleMirrorsAndZeroEmpties) {
  const std::vector<uint8_t> blob = BlobOf({{2, 0, 5, 1}});
  EXPECT_EQ(Region::FromBlob(blob, -1, 1, 0, 0).Rects(), (std::vector<Rect>{{-5, 0, -2, 1}}));
  EXPECT_TRUE(Region::FromBlob(blob, 0, 1, 0, 0).Empty());
}

}  // namespace
