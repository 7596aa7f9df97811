// Region frames (TRgn) and the frame selector (TRgnList): loading from a stored description,
// regions from stored outlines, picture assignment, painting, and the outline, flags and z-order
// a selection gives a real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "region/region.h"
#include "support/region_forms.h"
#include "support/region_test_support.h"
#include "support/test_support.h"

namespace {

using region_test::Disk;
using region_test::ErrorOf;
using region_test::PaintInto;
using region_test::Picture;
using region_test::RegionOf;
using region_test::Rgb;
using region_test::WindowOutline;

Region StoredOutline(const TRgn& frame) { return Region::FromBlob(frame.WriteRgnData()); }

std::vector<uint8_t> OutlineOfPicture(Image image) { return BmpToRgnData(image); }

// One window for all cases: destroying a shown window costs about a second under Wine.
class RegionForm : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    form_ = new TRegionTestForm(Application);
    form_->Show();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override {
    list_ = form_->List();
    list_->AutoClear = true;
    list_->OnShowWnd = nullptr;
    list_->Clear();
    for (int n = 1; n <= 4; ++n)
      if (!form_->Frame(n)->RgnHandle()) form_->Frame(n)->UpdateRgn();
  }
  static HWND Window() { return form_->Handle(); }
  static TRgn* Frame(int n) { return form_->Frame(n); }
  static size_t ZOrder(TControl* control) {
    const auto& controls = form_->Controls();
    return std::find(controls.begin(), controls.end(), control) - controls.begin();
  }

  static TRegionTestForm* form_;
  TRgnList* list_ = nullptr;
};
TRegionTestForm* RegionForm::form_ = nullptr;

TEST_F(RegionForm, LoadedFramesMakeTheirRegionsFromTheStoredOutline) {
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("Rgn" + std::to_string(n));
    ASSERT_TRUE(Frame(n)->RgnHandle());
    EXPECT_FALSE(StoredOutline(*Frame(n)).Empty());
    EXPECT_EQ(RegionOf(Frame(n)->RgnHandle()), StoredOutline(*Frame(n)));
  }
  // Rgn4 stores the outline of another picture than its own: the region follows what is stored.
  TBitmap own;
  own.Assign(Frame(4)->RgnBitmap());
  EXPECT_NE(BmpToRgnData(&own), Frame(4)->WriteRgnData());
  EXPECT_EQ(Frame(4)->WriteRgnData(), Frame(3)->WriteRgnData());

  TRgnBtn* button = form_->Button();
  ASSERT_TRUE(button->RgnHandle());
  EXPECT_EQ(RegionOf(button->RgnHandle()), Region::FromBlob(button->WriteRgnData()));
  EXPECT_EQ(button->GetGlyph(1)->Width(), 24);
  EXPECT_FALSE(button->GetGlyph(2)->Empty());
  EXPECT_TRUE(button->GetGlyph(3)->Empty());
}

TEST(RegionFrameLoad, AnEmptyStoredOutlineFailsTheLoad) {
  EXPECT_EQ(ErrorOf([] { delete new TRegionNoDataForm(nullptr); }),
            "Rgn1 のﾘｰｼﾞｮﾝ情報がありません");
}

TEST_F(RegionForm, OneSelectedFrameShapesTheWindow) {
  list_->Add(Frame(3));
  list_->SetWndRgn();
  int type = ERROR;
  EXPECT_EQ(WindowOutline(Window(), &type), StoredOutline(*Frame(3)));
  EXPECT_EQ(type, COMPLEXREGION);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Frame(n)->Shown, n == 3) << "Rgn" << n;
  EXPECT_EQ(list_->GetCount(), 0);
  EXPECT_EQ(form_->BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(form_->BrushStyle(), TBrushStyle::bsClear);
  EXPECT_EQ(form_->Controls().back(), form_->Button());
  EXPECT_GT(ZOrder(Frame(3)), ZOrder(Frame(4)));
}

TEST_F(RegionForm, TwoFramesGiveTheUnionAndTheLaterLiesOnTop) {
  list_->Add(Frame(2));  // selection order does not matter, component order does
  list_->Add(Frame(1));
  list_->SetWndRgn();
  Region both = StoredOutline(*Frame(1));
  both.Unite(StoredOutline(*Frame(2)));
  ASSERT_NE(both, StoredOutline(*Frame(1)));
  EXPECT_EQ(WindowOutline(Window()), both);
  EXPECT_TRUE(Frame(1)->Shown);
  EXPECT_TRUE(Frame(2)->Shown);
  EXPECT_FALSE(Frame(3)->Shown);
  EXPECT_GT(ZOrder(Frame(2)), ZOrder(Frame(1)));
  EXPECT_GT(ZOrder(Frame(1)), ZOrder(Frame(3)));
  // The button comes before the frames in stored order, yet ends above them all.
  EXPECT_EQ(ZOrder(form_->Button()), form_->Controls().size() - 1);
}

TEST_F(RegionForm, WithoutAutoClearTheSelectionStays) {
  list_->AutoClear = false;
  list_->Add(Frame(2));
  list_->SetWndRgn();
  list_->Add(Frame(1));
  list_->SetWndRgn();
  list_->Delete(Frame(1));
  list_->SetWndRgn();
  EXPECT_EQ(list_->GetCount(), 1);
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(2)));
  EXPECT_FALSE(Frame(1)->Shown);
}

TEST_F(RegionForm, AnEmptySelectionGivesAnEmptyOutline) {
  list_->SetWndRgn();
  int type = ERROR;
  EXPECT_TRUE(WindowOutline(Window(), &type).Empty());
  EXPECT_EQ(type, NULLREGION);
  for (int n = 1; n <= 4; ++n) EXPECT_FALSE(Frame(n)->Shown) << "Rgn" << n;
}

TEST_F(RegionForm, AFrameAddedTwiceCountsOnce) {
  list_->AutoClear = false;
  list_->Add(Frame(2));
  list_->Add(Frame(2));
  EXPECT_EQ(list_->GetCount(), 2);
  list_->SetWndRgn();
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(2)));
  list_->Delete(Frame(2));
  EXPECT_EQ(list_->GetCount(), 1);
  EXPECT_EQ(list_->GetItem(0), Frame(2));
  list_->Delete(Frame(3));  // absent: nothing
  EXPECT_EQ(list_->GetCount(), 1);
}

TEST_F(RegionForm, AnIndexOutsideTheSelectionIsTheListError) {
  list_->Add(Frame(1));
  for (int index : {1, -1, 7}) {
    try {
      list_->GetItem(index);
      ADD_FAILURE() << "no error for index " << index;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(),
                "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
    }
  }
}

TEST_F(RegionForm, OnShowWndComesJustBeforeTheNewOutline) {
  list_->Add(Frame(1));
  list_->SetWndRgn();
  int calls = 0;
  list_->OnShowWnd = [&](TObject* sender) {
    ++calls;
    EXPECT_EQ(sender, list_);
    EXPECT_TRUE(Frame(3)->Shown);
    EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(1)));
  };
  list_->Add(Frame(3));
  list_->SetWndRgn();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(3)));
}

TEST_F(RegionForm, AFrameThatGaveAwayItsRegionAddsNothing) {
  Frame(2)->SetWndRgn();
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(2)));
  EXPECT_FALSE(Frame(2)->RgnHandle());
  EXPECT_TRUE(Frame(2)->Shown);

  list_->Add(Frame(1));
  list_->Add(Frame(2));
  list_->SetWndRgn();
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(1)));
  EXPECT_TRUE(Frame(2)->Shown);
  EXPECT_GT(ZOrder(Frame(2)), ZOrder(Frame(1)));

  Frame(2)->UpdateRgn();  // the stored outline is still there
  EXPECT_EQ(RegionOf(Frame(2)->RgnHandle()), StoredOutline(*Frame(2)));
}

TEST_F(RegionForm, FramesOfOtherOwnersAreNotMet) {
  TRgn stray(nullptr);
  stray.SetRgnBmp(form_->Frame(3)->RgnBitmap());
  stray.UpdateRgn();
  stray.Shown = false;
  list_->Add(&stray);
  list_->Add(Frame(1));
  list_->SetWndRgn();
  EXPECT_FALSE(stray.Shown);
  EXPECT_EQ(WindowOutline(Window()), StoredOutline(*Frame(1)));
}

TEST_F(RegionForm, ADestroyedFrameLeavesTheSelection) {
  auto* frame = new TRgn(form_);
  list_->Add(frame);
  list_->Add(Frame(1));
  list_->Add(frame);
  delete frame;
  ASSERT_EQ(list_->GetCount(), 1);
  EXPECT_EQ(list_->GetItem(0), Frame(1));
}

TEST_F(RegionForm, TheShownFrameIsPaintedAndTakesTheClick) {
  list_->Add(Frame(1));
  list_->SetWndRgn();
  UpdateWindow(Window());
  // An opaque pixel of Rgn1 in the window, and the same pixel of its picture.
  const Region outline = StoredOutline(*Frame(1));
  const Rect first = outline.Rects().front();
  const Image& picture = Frame(1)->RgnBitmap()->GetImage();
  const PaletteEntry expected = picture.Colour(first.Left, first.Top);
  bool painted = PumpUntil([&] {
    HDC dc = GetDC(Window());
    const COLORREF shown = GetPixel(dc, first.Left, first.Top);
    ReleaseDC(Window(), dc);
    return shown == RGB(expected.Red, expected.Green, expected.Blue);
  });
  EXPECT_TRUE(painted);

  form_->Clicked.clear();
  const LPARAM at = MAKELPARAM(first.Left, first.Top);
  SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(Window(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(form_->Clicked, std::vector<TObject*>{Frame(1)});
}

// A frame shaping its parent on its own needs the parent.
TEST(RegionFrame, SetWndRgnWithoutParentFails) {
  TRgn frame(nullptr);
  EXPECT_EQ(ErrorOf([&] { frame.SetWndRgn(); }), "Parentが設定されていません");
}

TEST(RegionFrame, UpdateRgnReportsWhatIsMissing) {
  TRgn frame(nullptr);
  frame.SetName("Rgn7");
  EXPECT_EQ(ErrorOf([&] { frame.UpdateRgn(); }), "Rgn7 のﾘｰｼﾞｮﾝ情報がありません");

  const Image picture = Disk(12, 4, Rgb(200, 0, 0));
  const std::vector<uint8_t> blob = OutlineOfPicture(picture);
  frame.ReadRgnData(blob);
  EXPECT_EQ(ErrorOf([&] { frame.UpdateRgn(); }), "Rgn7:RgnBitmap のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");

  frame.RgnBitmap()->SetImage(picture);
  EXPECT_EQ(ErrorOf([&] { frame.UpdateRgn(); }), "(no error)");
  EXPECT_TRUE(frame.RgnHandle());
}

TEST(RegionFrame, AMalformedOutlineNeverReachesThePlatform) {
  TRgn frame(nullptr);
  frame.RgnBitmap()->SetImage(Disk(12, 4, Rgb(200, 0, 0)));
  const std::vector<uint8_t> good = OutlineOfPicture(Disk(12, 4, Rgb(200, 0, 0)));
  auto patched = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> blob = good;
    blob[at] = value;
    return blob;
  };
  std::vector<uint8_t> truncated(good.begin(), good.end() - 16);
  const std::vector<std::vector<uint8_t>> malformed = {
      patched(8, 0xFF),  // claims 255 rectangles more than it holds
      patched(0, 40),    // header size
      patched(4, 2),     // type
      truncated,        {1, 2, 3},
  };
  for (const auto& blob : malformed) {
    frame.ReadRgnData(blob);
    EXPECT_EQ(ErrorOf([&] { frame.UpdateRgn(); }), "ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
    EXPECT_FALSE(frame.RgnHandle());
  }
}

TEST(RegionFrame, TheRegionIsScaledToTheFrameAndPlacedAtIt) {
  const Image picture = Disk(20, 7, Rgb(200, 0, 0));
  TBitmap bitmap;
  bitmap.SetImage(picture);
  TRgn frame(nullptr);
  frame.SetRgnBmp(&bitmap);
  const std::vector<uint8_t> blob = frame.WriteRgnData();
  EXPECT_EQ(blob, OutlineOfPicture(picture));
  EXPECT_FALSE(frame.RgnHandle());  // none until UpdateRgn

  frame.SetBounds(10, 5, 40, 20);
  frame.UpdateRgn();
  EXPECT_EQ(RegionOf(frame.RgnHandle()), Region::FromBlob(blob, 2, 1, 10, 5));
  frame.SetBounds(30, 30, 40, 20);  // moving does not move the region
  EXPECT_EQ(RegionOf(frame.RgnHandle()), Region::FromBlob(blob, 2, 1, 10, 5));

  frame.SetBounds(0, 0, 105, 105);
  frame.UpdateRgn();
  EXPECT_EQ(RegionOf(frame.RgnHandle()), Region::FromBlob(blob, 105.0f / 20, 105.0f / 20));

  frame.SetAutoSize(true);
  EXPECT_EQ(frame.Width(), 20);
  EXPECT_EQ(frame.Height(), 20);
  frame.SetBounds(3, 4, 60, 70);
  EXPECT_EQ(frame.Width(), 20);
  frame.UpdateRgn();
  EXPECT_EQ(RegionOf(frame.RgnHandle()), Region::FromBlob(blob, 1, 1, 3, 4));
}

TEST(RegionFrame, AutoSizeSetAgainDoesNothing) {
  TRgn frame(nullptr);
  TBitmap bitmap;
  bitmap.SetImage(Disk(20, 7, Rgb(200, 0, 0)));
  frame.SetRgnBmp(&bitmap);
  frame.SetAutoSize(true);
  bitmap.SetImage(Disk(30, 7, Rgb(200, 0, 0)));
  frame.SetRgnBmp(&bitmap);
  EXPECT_EQ(frame.Width(), 20);  // a new picture does not resize outside design mode
  frame.SetAutoSize(true);
  EXPECT_EQ(frame.Width(), 20);
  frame.SetAutoSize(false);
  frame.SetAutoSize(true);
  EXPECT_EQ(frame.Width(), 30);
}

TEST(RegionFrame, AssignedPicturesAreNormalisedInTheFrameOnly) {
  Image fourBits = Image::Create(6, 4, 4);
  fourBits.Palette = {Rgb(0, 0, 0), Rgb(9, 9, 9), Rgb(200, 0, 0)};
  fourBits.SetIndex(2, 1, 2);
  TBitmap bitmap;
  bitmap.SetImage(fourBits);
  TRgn frame(nullptr);
  frame.SetRgnBmp(&bitmap);
  EXPECT_EQ(frame.RgnBitmap()->BitsPerPixel(), 8);
  EXPECT_EQ(bitmap.BitsPerPixel(), 4);
  EXPECT_EQ(frame.WriteRgnData(), OutlineOfPicture(fourBits));

  Image deep = Image::Create(5, 5, 32);
  deep.SetColour(1, 1, Rgb(1, 2, 3));
  bitmap.SetImage(deep);
  frame.SetRgnBmp(&bitmap);
  EXPECT_EQ(frame.RgnBitmap()->BitsPerPixel(), 24);

  frame.UpdateRgn();
  HRGN before = frame.RgnHandle();
  frame.SetRgnBmp(frame.RgnBitmap());  // its own picture: nothing happens
  EXPECT_EQ(frame.RgnHandle(), before);
}

TEST(RegionFrame, AFailedAssignmentEmptiesTheFrame) {
  TRgn frame(nullptr);
  TBitmap bitmap;
  bitmap.SetImage(Disk(20, 7, Rgb(200, 0, 0)));
  frame.SetRgnBmp(&bitmap);
  frame.UpdateRgn();

  EXPECT_EQ(ErrorOf([&] { frame.SetRgnBmp(nullptr); }), "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません");
  EXPECT_TRUE(frame.RgnBitmap()->Empty());
  EXPECT_TRUE(frame.WriteRgnData().empty());
  EXPECT_FALSE(frame.RgnHandle());
}

TEST(RegionFrame, ARefusedShapeEmptiesTheFrame) {
  TRgn frame(nullptr);
  TBitmap bitmap;
  bitmap.SetImage(Disk(20, 7, Rgb(200, 0, 0)));
  frame.SetRgnBmp(&bitmap);
  Image ragged = Image::Create(210, 2, 8);  // 101 runs and more pixels after them
  ragged.Palette = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
  for (int x = 0; x < 206; x += 2) ragged.SetIndex(x, 0, 1);
  bitmap.SetImage(ragged);
  EXPECT_EQ(ErrorOf([&] { frame.SetRgnBmp(&bitmap); }), "ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です");
  EXPECT_TRUE(frame.RgnBitmap()->Empty());
  EXPECT_TRUE(frame.WriteRgnData().empty());
  EXPECT_EQ(ErrorOf([&] { frame.UpdateRgn(); }), " のﾘｰｼﾞｮﾝ情報がありません");
}

// Painting: into a bitmap filled with a background colour.
const PaletteEntry kBackground = Rgb(10, 20, 250);

TEST(RegionFramePaint, TheRunTimePathStretchesThePicture) {
  const Image picture = Picture({"0120", "3012", "2301"},
                                {Rgb(0, 200, 0), Rgb(255, 0, 0), Rgb(0, 0, 0), Rgb(90, 90, 90)});
  TRgn frame(nullptr);
  frame.RgnBitmap()->SetImage(picture);
  frame.SetBounds(0, 0, 8, 6);
  const Image painted = PaintInto(frame, 10, 8, kBackground);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x < 8 && y < 6;
      EXPECT_EQ(painted.Colour(x, y), inside ? picture.Colour(x / 2, y / 2) : kBackground)
          << x << ", " << y;
    }
  }
}

TEST(RegionFramePaint, AFrameNotShownPaintsNothing) {
  TRgn frame(nullptr);
  frame.RgnBitmap()->SetImage(Disk(10, 3, Rgb(255, 0, 0)));
  frame.SetBounds(0, 0, 10, 10);
  frame.Shown = false;
  const Image painted = PaintInto(frame, 10, 10, kBackground);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(painted.Colour(x, y), kBackground);
}

TEST(RegionFramePaint, TransparentFramesShowTheBackgroundThroughTheKeyColour) {
  // Index 2 has the key colour under another index: the outline keeps it, the mask does not.
  const Image picture =
      Picture({"1111", "1221", "1001", "0110"}, {Rgb(0, 200, 0), Rgb(255, 0, 0), Rgb(0, 200, 0)});
  TBitmap bitmap;
  bitmap.SetImage(picture);
  TRgn frame(nullptr);
  frame.Transparent = true;
  frame.SetRgnBmp(&bitmap);
  const Region outline = Region::FromBlob(frame.WriteRgnData());
  EXPECT_TRUE(outline.Contains(1, 1));
  EXPECT_FALSE(outline.Contains(1, 2));

  for (int scale : {1, 3}) {
    frame.SetBounds(0, 0, 4 * scale, 4 * scale);
    const Image painted = PaintInto(frame, 4 * scale, 4 * scale, kBackground);
    for (int y = 0; y < 4 * scale; ++y) {
      for (int x = 0; x < 4 * scale; ++x) {
        const PaletteEntry colour = picture.Colour(x / scale, y / scale);
        const bool key = colour == Rgb(0, 200, 0);
        EXPECT_EQ(painted.Colour(x, y), key ? kBackground : colour)
            << "scale " << scale << " at " << x << ", " << y;
      }
    }
  }
}

TEST(RegionFramePaint, TransparencySwitchedOnLaterFollowsTheCurrentPicture) {
  TBitmap bitmap;
  bitmap.SetImage(Disk(9, 2, Rgb(255, 0, 0)));
  TRgn frame(nullptr);
  frame.Transparent = true;
  frame.SetRgnBmp(&bitmap);
  frame.Transparent = false;
  const Image second = Disk(9, 4, Rgb(0, 0, 255));
  bitmap.SetImage(second);
  frame.SetRgnBmp(&bitmap);
  frame.Transparent = true;
  frame.SetBounds(0, 0, 9, 9);
  const Image painted = PaintInto(frame, 9, 9, kBackground);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      const bool figure = second.Index(x, y) == 1;
      EXPECT_EQ(painted.Colour(x, y), figure ? Rgb(0, 0, 255) : kBackground) << x << ", " << y;
    }
  }
}

}  // namespace
