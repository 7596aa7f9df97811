// Bitmaps and their canvases: stored picture values, drawing read back into the picture, the
// drawing surface remade after a change, and the colour/monochrome copies of the mask. Icons and
// image lists.
#include "framework/graphics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "framework/core/bmp_file.h"
#include "framework/core/description.h"
#include "framework/core/exception.h"
#include "framework/imglist.h"
#include "support/region_test_support.h"

namespace {

using region_test::Picture;
using region_test::Rgb;

const PaletteEntry kGreen = Rgb(0, 200, 0), kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255);
const PaletteEntry kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);

Image ThreeColours() { return Picture({"0120", "2100", "0002"}, {kGreen, kRed, kBlue}); }

TEST(Bitmap, StoredPictureValues) {
  const Image picture = ThreeColours();
  TBitmap bitmap;
  bitmap.LoadFromProperty(EncodeBitmapProperty(WriteBmpFile(picture)));
  EXPECT_EQ(bitmap.GetImage(), picture);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.BitsPerPixel(), 8);

  bitmap.LoadFromProperty(std::vector<uint8_t>{0, 0, 0, 0});
  EXPECT_TRUE(bitmap.Empty());

  std::vector<uint8_t> cut = EncodeBitmapProperty(WriteBmpFile(picture));
  cut.pop_back();
  EXPECT_THROW(bitmap.LoadFromProperty(cut), EInvalidGraphic);
  EXPECT_THROW(bitmap.LoadFromProperty(std::vector<uint8_t>{5, 0, 0, 0, 'B', 'M', 0, 0, 0}),
               EInvalidGraphic);
}

// A picture that stays where it is stored (in the program's resources) is checked at once and
// its pixels read from there when first drawn.
TEST(Bitmap, ALastingStoredPictureIsReadWhereItLiesWhenFirstUsed) {
  const Image picture = ThreeColours();
  std::vector<uint8_t> stored = EncodeBitmapProperty(WriteBmpFile(picture));
  TBitmap lasting, copied;
  lasting.LoadFromProperty(stored, true);
  copied.LoadFromProperty(stored);
  EXPECT_EQ(lasting.Width(), 4);
  EXPECT_EQ(lasting.Height(), 3);
  EXPECT_EQ(lasting.BitsPerPixel(), 8);
  // Top-left pixel (the bottom row of the file) becomes palette entry 2, blue.
  const size_t topLeft = stored.size() - 4;
  stored[topLeft] = 2;
  EXPECT_EQ(lasting.Canvas()->Pixel(0, 0), RGB(0, 0, 255)) << "read when drawn";
  EXPECT_EQ(copied.Canvas()->Pixel(0, 0), RGB(0, 200, 0)) << "read when loaded";
  stored[topLeft] = 0;
  EXPECT_EQ(lasting.Canvas()->Pixel(0, 0), RGB(0, 0, 255)) << "read once";

  // A malformed one is refused at once, and the bitmap keeps its picture.
  std::vector<uint8_t> cut = EncodeBitmapProperty(WriteBmpFile(picture));
  cut.resize(cut.size() - 1);
  cut[0] = static_cast<uint8_t>(cut.size() - 4);
  EXPECT_THROW(lasting.LoadFromProperty(cut, true), EInvalidGraphic);
  EXPECT_EQ(lasting.Width(), 4);
  EXPECT_EQ(lasting.Canvas()->Pixel(0, 0), RGB(0, 0, 255));

  // Changed before it was read: the change holds.
  TBitmap resized;
  resized.LoadFromProperty(stored, true);
  resized.SetSize(2, 2);
  EXPECT_EQ(resized.GetImage().Palette, picture.Palette);
  EXPECT_EQ(resized.Canvas()->Pixel(1, 1), RGB(0, 200, 0));
}

TEST(Bitmap, DrawingIsReadBackAndChangesAreDrawn) {
  TBitmap source, target;
  source.SetImage(ThreeColours());
  target.SetSize(6, 5);
  EXPECT_EQ(target.BitsPerPixel(), 24);
  target.Canvas()->Draw(1, 1, source);
  const Image& drawn = target.GetImage();
  EXPECT_EQ(drawn.Colour(0, 0), kBlack);
  EXPECT_EQ(drawn.Colour(2, 1), kRed);
  EXPECT_EQ(drawn.Colour(3, 1), kBlue);
  EXPECT_EQ(drawn.Colour(2, 2), kRed);
  EXPECT_EQ(drawn.Colour(1, 3), kGreen);

  source.EditImage().SetIndex(1, 0, 2);  // red becomes blue
  target.Canvas()->Draw(1, 1, source);
  EXPECT_EQ(target.GetImage().Colour(2, 1), kBlue);
  EXPECT_EQ(target.Canvas()->Pixel(2, 1), static_cast<TColor>(RGB(0, 0, 255)));

  TBitmap copy;
  copy.Assign(&target);
  EXPECT_EQ(copy.GetImage(), target.GetImage());
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  target.SetSize(2, 2);
  EXPECT_EQ(target.GetImage().Colour(1, 1), kBlack);  // a new size is blank
}

TEST(Bitmap, ColourToMonochromeFollowsTheBackgroundColour) {
  TBitmap colour, mask;
  colour.SetImage(ThreeColours());
  mask.SetMonochrome(true);
  mask.SetSize(4, 3);
  colour.Canvas()->SetBackgroundColor(static_cast<TColor>(RGB(0, 200, 0)));
  const RECT all{0, 0, 4, 3};
  mask.Canvas()->CopyRect(all, *colour.Canvas(), all);
  const Image& bits = mask.GetImage();
  ASSERT_EQ(bits.BitsPerPixel, 1);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(bits.Index(x, y), colour.GetImage().Index(x, y) == 0 ? 1 : 0) << x << ", " << y;

  // Back to colour: 1 is white, 0 black.
  TBitmap back;
  back.SetSize(4, 3);
  back.Canvas()->CopyRect(all, *mask.Canvas(), all);
  EXPECT_EQ(back.GetImage().Colour(0, 0), kWhite);
  EXPECT_EQ(back.GetImage().Colour(1, 0), kBlack);
}

TEST(Bitmap, TransparentDrawingLetsTheBottomLeftColourThrough) {
  TBitmap source, target;
  source.SetImage(ThreeColours());
  source.Transparent = true;
  EXPECT_EQ(source.TransparentColor(), static_cast<TColor>(RGB(0, 200, 0)));
  target.SetSize(4, 3);
  BrushHandle brush(CreateSolidBrush(RGB(9, 9, 9)));
  const RECT all{0, 0, 4, 3};
  FillRect(target.Canvas()->Handle(), &all, brush.Get());
  target.Canvas()->Draw(0, 0, source);
  const Image& drawn = target.GetImage();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const PaletteEntry expected = ThreeColours().Colour(x, y);
      EXPECT_EQ(drawn.Colour(x, y), expected == kGreen ? Rgb(9, 9, 9) : expected);
    }
}

std::vector<uint8_t> TrayIconFile() {
  std::ifstream in(std::string(TIVOLU_SOURCE_DIR) + "/build/art/pictures/TrayIcon.ico",
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Icon, LoadsAStoredIconAndTellsOfEveryChange) {
  const std::vector<uint8_t> file = TrayIconFile();
  TIcon icon;
  int changes = 0;
  icon.OnChange = [&] { ++changes; };
  EXPECT_TRUE(icon.Empty());
  icon.LoadFromData(file);
  EXPECT_EQ(changes, 1);
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 29);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.Handle(), &info));
  BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour.Get(), sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 29);
  EXPECT_EQ(bitmap.bmHeight, 29);

  // A malformed file changes nothing.
  const HICON before = icon.Handle();
  std::vector<uint8_t> bad = file;
  bad[2] = 2;  // a cursor
  EXPECT_THROW(icon.LoadFromData(bad), EInvalidGraphic);
  EXPECT_EQ(icon.Handle(), before);
  EXPECT_EQ(changes, 1);

  TIcon copy;
  copy.Assign(&icon);
  EXPECT_EQ(copy.Data(), file);
  EXPECT_NE(copy.Handle(), icon.Handle()) << "each owns its own handle";
  icon.Assign(nullptr);
  EXPECT_TRUE(icon.Empty());
  EXPECT_EQ(changes, 2);
}

// A strip stored where it lies (the program's resources) counts its pictures at once and is cut
// into them when one is first needed, before any added later.
TEST(ImageList, AStoredStripIsCountedAtOnceAndCutWhenFirstNeeded) {
  std::vector<uint8_t> stored =
      EncodeBitmapProperty(WriteBmpFile(Picture({"0012"}, {kGreen, kRed, kBlue})));
  Value strip;
  strip.Kind = ValueKind::Binary;
  strip.StoredBytes = stored;
  TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(1);
  TChangeLink link;
  int changes = 0;
  link.OnChange = [&] { ++changes; };
  list.RegisterChanges(&link);
  list.SetProperty("Bitmap.Data", strip);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(changes, 1);
  stored[stored.size() - 4] = 2;  // the first picture's left pixel, blue: read when cut

  Image red = Image::Create(2, 1, 24);
  red.SetColour(0, 0, kRed);
  EXPECT_EQ(list.Add(red), 2);
  TBitmap target;
  target.SetImage(Image::Create(6, 1, 24));
  for (int index = 0; index < 3; ++index) list.Draw(target.Canvas(), 2 * index, 0, index);
  EXPECT_EQ(target.Canvas()->Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(target.Canvas()->Pixel(1, 0), RGB(0, 200, 0));
  EXPECT_EQ(target.Canvas()->Pixel(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(target.Canvas()->Pixel(3, 0), RGB(0, 0, 255));
  EXPECT_EQ(target.Canvas()->Pixel(4, 0), RGB(255, 0, 0));

  // A strip of another height is refused at once and adds nothing; Clear drops one not cut yet.
  std::vector<uint8_t> tall =
      EncodeBitmapProperty(WriteBmpFile(Picture({"00", "11"}, {kGreen, kRed})));
  strip.StoredBytes = tall;
  EXPECT_THROW(list.SetProperty("Bitmap.Data", strip), EInvalidGraphic);
  EXPECT_EQ(list.Count(), 3);
  strip.StoredBytes = stored;
  list.SetProperty("Bitmap.Data", strip);
  EXPECT_EQ(list.Count(), 5);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Draw(target.Canvas(), 0, 0, 0), EListError);
}

TEST(ImageList, PicturesOfItsSizeAsIconsAndChangeLinks) {
  auto list = std::make_unique<TImageList>(nullptr);
  EXPECT_THROW(list->Add(Image::Create(8, 16, 24)), EInvalidGraphic);
  Image green = Image::Create(16, 16, 24);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) green.SetColour(x, y, {0, 200, 0, 0});

  TChangeLink link;
  int changes = 0;
  link.OnChange = [&] { ++changes; };
  list->RegisterChanges(&link);
  EXPECT_EQ(list->Add(green), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(list->GetIcon(1, 16, 16), EListError);

  // The icon is opaque: the same over black and white.
  IconHandle icon = list->GetIcon(0, 16, 16);
  ASSERT_TRUE(icon);
  for (COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
    TBitmap canvas;
    canvas.SetImage(Image::Create(16, 16, 24));
    BrushHandle brush(CreateSolidBrush(background));
    const RECT all{0, 0, 16, 16};
    FillRect(canvas.Canvas()->Handle(), &all, brush.Get());
    DrawIconEx(canvas.Canvas()->Handle(), 0, 0, icon.Get(), 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.Canvas()->Pixel(8, 8), RGB(0, 200, 0));
  }

  list->SetWidth(32);  // a new size empties the list
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(changes, 2);
  {
    TChangeLink shortLived;
    list->RegisterChanges(&shortLived);
  }  // leaves the list as it goes
  list->Clear();
  list.reset();
  EXPECT_EQ(link.Sender(), nullptr);
}

}  // namespace
