// The settings window's pictures: their sizes and depths, the background showing the buttons at
// their places and leaving the texts legible, and the portraits in colour and in greys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "art_test_support.h"
#include "framework/core/bmp_file.h"

namespace {

Image Picture(const std::string& name) {
  const std::vector<uint8_t> file =
      art_test::ReadBytes(art_test::ArtDir() / "pictures" / (name + ".bmp"));
  return file.empty() ? Image{} : ReadBmpFile(file);
}

int Lightness(PaletteEntry c) { return (299 * c.Red + 587 * c.Green + 114 * c.Blue + 500) / 1000; }

struct Place {
  const char* Name;
  int Left, Top, Width, Height;
};

// Image2 to Image5 on their panels in the title strip.
const Place kButtons[] = {{"InfoButton", 4, 2, 53, 16},
                          {"NextButton", 240, 2, 24, 17},
                          {"PreviousButton", 270, 2, 24, 18},
                          {"CloseButton", 306, 2, 37, 16}};

TEST(SettingsPictures, SizesAndDepths) {
  const Image background = Picture("Background");
  EXPECT_EQ(background.Width, 350);
  EXPECT_EQ(background.Height, 350);
  EXPECT_EQ(background.BitsPerPixel, 8);
  EXPECT_EQ(background.Palette.size(), 256u);
  for (const Place& button : kButtons) {
    const Image image = Picture(button.Name);
    EXPECT_EQ(image.Width, button.Width) << button.Name;
    EXPECT_EQ(image.Height, button.Height) << button.Name;
  }
  for (int k = 0; k < 8; ++k) {
    const Image image = Picture("Portrait" + std::to_string(k));
    EXPECT_EQ(image.Width, 48) << k;
    EXPECT_EQ(image.Height, 48) << k;
  }
  const Image strip = Picture("Portraits");
  EXPECT_EQ(strip.Width, 8 * 48);
  EXPECT_EQ(strip.Height, 48);
}

TEST(SettingsPictures, BackgroundShowsTheButtonsAtTheirPlaces) {
  const Image background = Picture("Background");
  ASSERT_FALSE(background.Empty());
  for (const Place& button : kButtons) {
    const Image image = Picture(button.Name);
    ASSERT_FALSE(image.Empty()) << button.Name;
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        ASSERT_EQ(background.Colour(button.Left + x, button.Top + y), image.Colour(x, y))
            << button.Name << " at " << x << "," << y;
    // An oval on the strip: the corners show the strip, the middle the button's face.
    EXPECT_NE(image.Colour(0, 0), image.Colour(image.Width / 2, image.Height / 2)) << button.Name;
  }
}

// White labels lie on the background (the labels' own dark copies are their shadows): where
// they are, the background is dark enough for white text.
TEST(SettingsPictures, LabelsAreLegible) {
  const Image background = Picture("Background");
  ASSERT_FALSE(background.Empty());
  struct Area {
    const char* What;
    int Left, Top, Width, Height;
  };
  std::vector<Area> areas{{"title", 70, 5, 160, 12}, {"hint", 72, 331, 270, 13}};
  for (int slot = 0; slot < 4; ++slot) {
    areas.push_back({"name", 28, 34 + 72 * slot, 40, 13});
    areas.push_back({"Launch!", 64, 61 + 72 * slot, 38, 13});
  }
  for (const Area& area : areas)
    for (int y = area.Top; y < area.Top + area.Height; ++y)
      for (int x = area.Left; x < area.Left + area.Width; ++x)
        ASSERT_LE(Lightness(background.Colour(x, y)), 110) << area.What << " at " << x << "," << y;
}

TEST(SettingsPictures, PortraitsInColourThenInGreys) {
  const Image strip = Picture("Portraits");
  ASSERT_EQ(strip.Width, 8 * 48);
  for (int k = 0; k < 4; ++k) {
    const Image colour = Picture("Portrait" + std::to_string(k));
    const Image grey = Picture("Portrait" + std::to_string(k + 4));
    ASSERT_FALSE(colour.Empty() || grey.Empty());
    int saturated = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) {
        const PaletteEntry c = colour.Colour(x, y), g = grey.Colour(x, y);
        saturated += std::max({c.Red, c.Green, c.Blue}) - std::min({c.Red, c.Green, c.Blue}) > 60;
        EXPECT_TRUE(g.Red == g.Green && g.Green == g.Blue) << k << " at " << x << "," << y;
        EXPECT_EQ(g.Red, Lightness(c)) << k << " at " << x << "," << y;
        EXPECT_EQ(strip.Colour(48 * k + x, y), c);
        EXPECT_EQ(strip.Colour(48 * (k + 4) + x, y), g);
      }
    EXPECT_GT(saturated, 48 * 48 / 16) << "portrait " << k << " is in colour";
  }
  // Four different faces.
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b)
      EXPECT_NE(Picture("Portrait" + std::to_string(a)), Picture("Portrait" + std::to_string(b)));
}

}  // namespace
