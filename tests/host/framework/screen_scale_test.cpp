#include "framework/core/screen_scale.h"

#include <gtest/gtest.h>

namespace {

// The usual display settings: 100 % and 125 % draw the design as it is, 150 % to 249 % at twice
// its size, 250 % to 349 % at three times; halves go up; nothing draws below its design.
TEST(ScreenScale, WholeScaleOfEachDisplaySetting) {
  const std::pair<int, int> cases[] = {{96, 1},  {120, 1}, {143, 1}, {144, 2}, {192, 2},
                                       {239, 2}, {240, 3}, {288, 3}, {335, 3}, {336, 4},
                                       {72, 1},  {48, 1},  {0, 1},   {-96, 1}};
  for (auto [dpi, scale] : cases) EXPECT_EQ(ScaleOfDpi(dpi), scale) << dpi;
}

}  // namespace
