#include "controls/core/check_box_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace check_box;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(CheckBoxAssignment, TheSameValueDoesNothing) {
  for (bool value : {false, true})
    for (int32_t group : {-1, 0, 1}) {
      const Assignment a = Assign(value, value, group, false, true, true);
      EXPECT_EQ(a.Checked, value);
      EXPECT_FALSE(a.Changed || a.NotifyGroup || a.FireClick) << value << " " << group;
    }
}

TEST(CheckBoxAssignment, AnIndependentBoxTakesEveryValueAndFiresOnlyWithAHandler) {
  Assignment a = Assign(false, true, 0, false, true, true);
  EXPECT_TRUE(a.Checked && a.Changed && a.FireClick);
  EXPECT_FALSE(a.NotifyGroup);  // group 0 never notifies
  a = Assign(true, false, 0, false, true, false);
  EXPECT_FALSE(a.Checked);
  EXPECT_TRUE(a.Changed);
  EXPECT_FALSE(a.FireClick);
  // A user's click assigns with OnClick held back: the click itself fires it.
  EXPECT_FALSE(Assign(false, true, 0, true, false, true).FireClick);
}

TEST(CheckBoxAssignment, GroupsRefuseToUncheckUnlessAllUpIsAllowedButStillFire) {
  // Group 1 without AllowAllUp: stays checked, fires anyway.
  Assignment a = Assign(true, false, 1, false, true, true);
  EXPECT_TRUE(a.Checked);
  EXPECT_FALSE(a.Changed || a.NotifyGroup);
  EXPECT_TRUE(a.FireClick);
  // With AllowAllUp it may be unchecked, and unchecking tells nobody.
  a = Assign(true, false, 1, true, true, false);
  EXPECT_FALSE(a.Checked);
  EXPECT_FALSE(a.NotifyGroup);
  // Checking a box of a positive group tells the others.
  a = Assign(false, true, 1, false, true, false);
  EXPECT_TRUE(a.Checked && a.NotifyGroup);
  // A negative group: once checked it stays so, and it never notifies.
  a = Assign(false, true, -3, true, true, false);
  EXPECT_TRUE(a.Checked);
  EXPECT_FALSE(a.NotifyGroup);
  a = Assign(true, false, -3, true, true, true);
  EXPECT_TRUE(a.Checked);
  EXPECT_TRUE(a.FireClick);
}

TEST(CheckBoxAssignment, OnlyCheckedOthersOfTheSameGroupUncheck) {
  EXPECT_TRUE(UnchecksOnGroupNotice(2, true, false, 2));
  EXPECT_FALSE(UnchecksOnGroupNotice(2, true, true, 2));    // the sender
  EXPECT_FALSE(UnchecksOnGroupNotice(2, false, false, 2));  // already unchecked
  EXPECT_FALSE(UnchecksOnGroupNotice(3, true, false, 2));   // another group
}

TEST(CheckBoxStrip, StatesAndCells) {
  EXPECT_EQ(StripState(false, true), 0);
  EXPECT_EQ(StripState(true, true), 1);
  EXPECT_EQ(StripState(false, false), 2);
  EXPECT_EQ(StripState(true, false), 3);
  EXPECT_EQ(StripCell(1, 0), 0);
  EXPECT_EQ(StripCell(14, 3), 55);
  EXPECT_EQ(StripCell(0, 1), -3);  // outside any strip: nothing is drawn from it
  EXPECT_EQ(StripCell(kMax, 3), int64_t{kMax - 1} * 4 + 3);
}

TEST(CheckBoxStrip, StyleIsLimitedByTheStrip) {
  EXPECT_EQ(LimitStyle(0, 1008, 18), 1);
  EXPECT_EQ(LimitStyle(-7, 1008, 18), 1);
  EXPECT_EQ(LimitStyle(kMin, 1008, 18), 1);
  EXPECT_EQ(LimitStyle(99, 1008, 18), 14);
  EXPECT_EQ(LimitStyle(14, 1008, 18), 14);
  EXPECT_EQ(LimitStyle(5, 1008, 18), 5);
  EXPECT_EQ(LimitStyle(14, 1007, 18), 13);  // 55 whole cells: 13 whole styles and a part
  EXPECT_EQ(LimitStyle(kMax, 1008, kMax), 0);
  // An empty strip has no styles to count (its height would divide): only the lower limit.
  EXPECT_EQ(LimitStyle(99, 0, 0), 99);
  EXPECT_EQ(LimitStyle(0, 0, 0), 1);
  EXPECT_EQ(LimitStyle(3, 1008, 0), 3);
}

TEST(CheckBoxGeometry, GlyphSizeTakesTheLargerOfOwnGlyphsAndStripCells) {
  const Size strip{1008, 18}, none{}, noStrip{};
  EXPECT_EQ(GlyphSize(none, none, strip).Width, 18);
  EXPECT_EQ(GlyphSize(none, none, strip).Height, 18);
  const Size empty = GlyphSize(none, none, noStrip);
  EXPECT_EQ(empty.Width, 0);
  EXPECT_EQ(empty.Height, 0);
  // One own glyph: the strip still stands for the other one.
  Size g = GlyphSize({30, 10}, none, strip);
  EXPECT_EQ(g.Width, 30);
  EXPECT_EQ(g.Height, 18);
  g = GlyphSize(none, {4, 40}, noStrip);
  EXPECT_EQ(g.Width, 4);
  EXPECT_EQ(g.Height, 40);
  g = GlyphSize({12, 9}, {7, 11}, strip);  // both own glyphs: the strip does not count
  EXPECT_EQ(g.Width, 12);
  EXPECT_EQ(g.Height, 11);
}

TEST(CheckBoxGeometry, SmallBoxCutsTheGlyphAndCaptionFollowsAlignment) {
  // The settings window's 13 x 13 box: the 18 x 18 cell starts 2 rows above the box.
  Layout l = PlaceGlyphAndCaption(Alignment::RightJustify, 13, 13, {18, 18}, {0, 12});
  EXPECT_EQ(l.Glyph, (Rect{0, -2, 18, 16}));
  EXPECT_EQ(l.Caption, (Rect{20, 0, 13, 13}));  // right and bottom cut to the box

  // A 100 x 17 box with a 40 x 12 caption.
  l = PlaceGlyphAndCaption(Alignment::RightJustify, 100, 17, {18, 18}, {40, 12});
  EXPECT_EQ(l.Glyph, (Rect{0, 0, 18, 18}));
  EXPECT_EQ(l.Caption, (Rect{20, 1, 64, 15}));
  l = PlaceGlyphAndCaption(Alignment::LeftJustify, 100, 17, {18, 18}, {40, 12});
  EXPECT_EQ(l.Glyph, (Rect{82, 0, 100, 18}));
  EXPECT_EQ(l.Caption, (Rect{0, 0, 42, 16}));
  // A long caption stops short of the glyph on the left, at the box's edge on the right.
  l = PlaceGlyphAndCaption(Alignment::LeftJustify, 100, 17, {18, 18}, {500, 12});
  EXPECT_EQ(l.Caption.Right, 80);
  l = PlaceGlyphAndCaption(Alignment::RightJustify, 100, 17, {18, 18}, {kMax, 12});
  EXPECT_EQ(l.Caption.Right, 100);
  // Odd differences halve toward zero, also when negative.
  l = PlaceGlyphAndCaption(Alignment::RightJustify, 20, 10, {18, 15}, {0, 0});
  EXPECT_EQ(l.Glyph.Top, -2);
  EXPECT_EQ(l.Caption.Top, 4);
}

TEST(CheckBoxGeometry, GlyphsAreCentredAndMayStickOut) {
  EXPECT_EQ(CentredIn({0, -2, 18, 16}, {18, 18}), (Rect{0, -2, 18, 16}));
  EXPECT_EQ(CentredIn({0, 0, 18, 18}, {7, 5}), (Rect{5, 6, 12, 11}));
  EXPECT_EQ(CentredIn({0, 0, 10, 10}, {15, 13}), (Rect{-2, -1, 13, 12}));
}

TEST(CheckBoxGeometry, AutoSizeFitsCaptionGlyphAndALineOfText) {
  Size s = AutoSize({18, 18}, 0, 12);
  EXPECT_EQ(s.Width, 22);
  EXPECT_EQ(s.Height, 18);
  s = AutoSize({18, 18}, 0, 17);
  EXPECT_EQ(s.Height, 19);
  s = AutoSize({0, 0}, 35, 12);  // empty strip: the glyph counts as 0 x 0
  EXPECT_EQ(s.Width, 39);
  EXPECT_EQ(s.Height, 14);
  s = AutoSize({18, 18}, kMax, kMax);
  EXPECT_EQ(s.Width, kMax);
  EXPECT_EQ(s.Height, kMax);
}

}  // namespace
