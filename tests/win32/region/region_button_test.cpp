// The region button (TRgnBtn): presses on its figure only, the glyph it paints, its stretched
// outline, and what assigning glyphs does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "region/region.h"
#include "support/region_test_support.h"
#include "support/test_support.h"

namespace {

using region_test::Disk;
using region_test::ErrorOf;
using region_test::PaintInto;
using region_test::RegionOf;
using region_test::Rgb;

const PaletteEntry kNormal = Rgb(220, 0, 0), kPressed = Rgb(0, 0, 220), kDisabled = Rgb(90, 90, 90);
const PaletteEntry kBackground = Rgb(250, 250, 0);
constexpr int kSize = 20;  // glyphs: a disk of radius 8 in the middle, green around it

void SetGlyph(TRgnBtn& button, int index, const Image& picture) {
  TBitmap bitmap;
  bitmap.SetImage(picture);
  button.SetGlyph(index, &bitmap);
}

// One window holds the button for all cases: destroying a shown window costs about a second.
class RegionButton : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    form_ = new TForm(Application);
    form_->SetBounds(300, 100, 160, 120);
    form_->Show();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override {
    button_ = new TRgnBtn(form_);
    button_->SetName("Btn");
    button_->SetParent(form_);
    button_->SetBounds(10, 10, kSize, kSize);
    SetGlyph(*button_, 1, Disk(kSize, 8, kNormal));
    SetGlyph(*button_, 2, Disk(kSize, 8, kPressed));
    button_->UpdateRgn();
    button_->OnClick = [this](TObject*) { ++clicks_; };
  }
  void TearDown() override { delete button_; }

  // Mouse messages at a point of the button (its own coordinates).
  void Send(UINT message, int x, int y) {
    const WPARAM keys = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
    SendMessageW(form_->Handle(), message, keys,
                 MAKELPARAM(button_->Left() + x, button_->Top() + y));
  }
  // The colour the button paints at its middle.
  PaletteEntry Shows() {
    return PaintInto(*button_, kSize, kSize, kBackground).Colour(kSize / 2, kSize / 2);
  }

  static TForm* form_;
  TRgnBtn* button_ = nullptr;
  int clicks_ = 0;
};
TForm* RegionButton::form_ = nullptr;

TEST_F(RegionButton, APressOutsideTheFigureKeepsTheNormalGlyph) {
  Send(WM_LBUTTONDOWN, 1, 1);  // a transparent corner, inside the rectangle
  EXPECT_FALSE(button_->Pressed());
  EXPECT_EQ(Shows(), kNormal);
  Send(WM_LBUTTONUP, 1, 1);
  EXPECT_EQ(clicks_, 1);  // clicks follow the rectangle, not the figure
}

TEST_F(RegionButton, APressOnTheFigureShowsThePressedGlyphUntilAnyRelease) {
  Send(WM_LBUTTONDOWN, 10, 10);
  EXPECT_TRUE(button_->Pressed());
  EXPECT_EQ(Shows(), kPressed);
  Send(WM_MOUSEMOVE, 100, 80);
  EXPECT_TRUE(button_->Pressed());
  Send(WM_LBUTTONUP, 100, 80);  // released far outside the button
  EXPECT_FALSE(button_->Pressed());
  EXPECT_EQ(Shows(), kNormal);
  EXPECT_EQ(clicks_, 0);

  Send(WM_RBUTTONDOWN, 10, 10);  // any mouse button
  EXPECT_TRUE(button_->Pressed());
  Send(WM_RBUTTONUP, 10, 10);
  EXPECT_FALSE(button_->Pressed());
}

TEST_F(RegionButton, TheFigureIsTransparentAroundItself) {
  const Image painted = PaintInto(*button_, kSize, kSize, kBackground);
  const Image glyph = Disk(kSize, 8, kNormal);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      EXPECT_EQ(painted.Colour(x, y), glyph.Index(x, y) ? kNormal : kBackground) << x << ", " << y;
}

TEST_F(RegionButton, ADisabledButtonShowsGlyph3OrElseGlyph1) {
  Send(WM_LBUTTONDOWN, 10, 10);
  ASSERT_TRUE(button_->Pressed());
  button_->SetEnabled(false);
  EXPECT_EQ(Shows(), kNormal);  // no Glyph3: the normal glyph, though pressed
  SetGlyph(*button_, 3, Disk(kSize, 8, kDisabled));
  EXPECT_EQ(Shows(), kDisabled);
  Send(WM_LBUTTONUP, 10, 10);
  EXPECT_FALSE(button_->Pressed());
  button_->SetEnabled(true);
  EXPECT_EQ(Shows(), kNormal);
}

TEST_F(RegionButton, AnEmptyPressedGlyphShowsNothingWhilePressed) {
  button_->GetGlyph(2)->Assign(nullptr);
  Send(WM_LBUTTONDOWN, 10, 10);
  EXPECT_EQ(Shows(), kBackground);
  Send(WM_LBUTTONUP, 10, 10);
}

TEST_F(RegionButton, AWiderButtonStretchesItsRegionAndCutsItsGlyph) {
  const std::vector<uint8_t> blob = button_->WriteRgnData();
  button_->SetBounds(10, 10, 2 * kSize, kSize);
  button_->UpdateRgn();
  EXPECT_EQ(RegionOf(button_->RgnHandle()), Region::FromBlob(blob, 2, 1));

  Send(WM_LBUTTONDOWN, 30, 10);  // on the stretched figure only
  EXPECT_TRUE(button_->Pressed());
  Send(WM_LBUTTONUP, 30, 10);

  // The glyph is stretched twice as wide and cut at its own width.
  const Image painted = PaintInto(*button_, 2 * kSize, kSize, kBackground);
  const Image glyph = Disk(kSize, 8, kNormal);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < 2 * kSize; ++x) {
      const bool figure = x < kSize && glyph.Index(x / 2, y);
      EXPECT_EQ(painted.Colour(x, y), figure ? kNormal : kBackground) << x << ", " << y;
    }
  }
}

TEST_F(RegionButton, GlyphsTwoAndThreeNeverTouchTheRegion) {
  HRGN region = button_->RgnHandle();
  const std::vector<uint8_t> blob = button_->WriteRgnData();
  SetGlyph(*button_, 2, Disk(kSize, 3, kPressed));
  SetGlyph(*button_, 3, Disk(kSize, 2, kDisabled));
  EXPECT_EQ(button_->RgnHandle(), region);
  EXPECT_EQ(button_->WriteRgnData(), blob);
}

TEST_F(RegionButton, ANewGlyph1ReplacesTheOutlineButNotTheRegion) {
  const Image smaller = Disk(kSize, 4, kNormal);
  SetGlyph(*button_, 1, smaller);
  Image copy = smaller;
  EXPECT_EQ(button_->WriteRgnData(), BmpToRgnData(copy));
  EXPECT_FALSE(button_->RgnHandle());
  Send(WM_LBUTTONDOWN, 10, 10);  // no region: no press shows
  EXPECT_FALSE(button_->Pressed());
  Send(WM_LBUTTONUP, 10, 10);
  button_->UpdateRgn();
  Send(WM_LBUTTONDOWN, 10, 10);
  EXPECT_TRUE(button_->Pressed());
  Send(WM_LBUTTONUP, 10, 10);
}

TEST_F(RegionButton, AFailedGlyph1EmptiesItAndTheOutline) {
  EXPECT_EQ(ErrorOf([&] { button_->SetGlyph(1, nullptr); }), "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません");
  EXPECT_TRUE(button_->GetGlyph(1)->Empty());
  EXPECT_TRUE(button_->WriteRgnData().empty());
  EXPECT_FALSE(button_->RgnHandle());
  EXPECT_EQ(ErrorOf([&] { button_->UpdateRgn(); }), "Btn のﾘｰｼﾞｮﾝ情報がありません");
  button_->ReadRgnData(Region{}.ToBlob());  // an outline with no rectangles
  EXPECT_EQ(ErrorOf([&] { button_->UpdateRgn(); }), "Btn:Glyph1 のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
  SetGlyph(*button_, 1, Disk(kSize, 8, kNormal));
  button_->ReadRgnData(std::vector<uint8_t>{32, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0});
  EXPECT_EQ(ErrorOf([&] { button_->UpdateRgn(); }), "ﾘｰｼﾞｮﾝが作成できません");
  EXPECT_FALSE(button_->RgnHandle());
}

TEST_F(RegionButton, AutoSizeIsAppliedAgainEachTime) {
  button_->SetAutoSize(true);
  EXPECT_EQ(button_->Width(), kSize);
  button_->SetBounds(10, 10, 50, 50);
  EXPECT_EQ(button_->Width(), kSize);
  SetGlyph(*button_, 1, Disk(30, 8, kNormal));
  EXPECT_EQ(button_->Width(), kSize);  // a new glyph does not resize outside design mode
  button_->SetAutoSize(true);          // unchanged, yet applied again (the frame would do nothing)
  EXPECT_EQ(button_->Width(), 30);
  EXPECT_EQ(button_->Height(), 30);
  button_->UpdateRgn();
  EXPECT_EQ(RegionOf(button_->RgnHandle()), Region::FromBlob(button_->WriteRgnData()));
}

}  // namespace
