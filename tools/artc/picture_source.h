#pragma once
// The text form of the program's pictures other than the characters' frames (the check box
// glyph strip, the icons, the settings window's pictures): a legend of one-letter colours, then
// pictures, each drawn by text pixel maps placed at positions. assets/art/README.md describes it.
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/bmp_file.h"

enum class PictureKind { Bitmap, Icon };

// One picture's pixels, rows top-down. Key pixels carry the key colour; an icon shows them
// transparent, a bitmap stores them in the key colour for the program to key out.
struct PictureImage {
  int Line = 0;  // of the line that started the image
  int Width = 0, Height = 0;
  std::vector<PaletteEntry> Colours;
  std::vector<bool> Key;
  const PaletteEntry& Colour(int x, int y) const { return Colours[size_t(y) * Width + x]; }
  bool IsKey(int x, int y) const { return Key[size_t(y) * Width + x]; }
};

// How the review sheet shows a picture that is a grid of cells: one tile a cell, labelled
// "<Group> <n>: <state>" with n counting groups of Labels.size() cells from 1.
struct CellLayout {
  int Width = 0, Height = 0;  // 0: not a grid
  std::string Group;
  std::vector<std::string> Labels;
};

struct Picture {
  std::string Name;  // also the output file's name, NAME.bmp or NAME.ico
  int Line = 0;
  PictureKind Kind = PictureKind::Bitmap;
  int BitsPerPixel = 0;              // bitmaps: 8 or 24; icons: 24 (opaque) or 32
  std::vector<PictureImage> Images;  // a bitmap has one, an icon one per size
  CellLayout Cells;
  int ShownSize = 0;  // icons: the size at which the shell shows them, 0 if not said
};

struct PictureSource {
  std::string FileName;
  std::vector<Picture> Pictures;
};

// Reads and checks a whole source; throws SourceError ("file:line: reason") at the first fault.
PictureSource ParsePictureSource(std::string_view text, const std::string& fileName);

// An 8-bit bitmap file with a full 256-entry palette (stated as "all colours": colours used 0),
// or a 24-bit one. Bottom-up rows, uncompressed.
std::vector<uint8_t> WritePictureBitmap(const Picture& picture);
// An icon file: a directory, then each image as a bottom-up bitmap of twice its height (colour
// rows, then the 1-bit transparency mask). Key pixels are transparent in 32-bit images; 24-bit
// images are opaque and their mask is empty.
std::vector<uint8_t> WritePictureIcon(const Picture& picture);
// One image of a picture as a 24-bit bitmap file for the review sheet, key pixels in `keyShownAs`.
std::vector<uint8_t> WriteReviewBitmap(const PictureImage& image, PaletteEntry keyShownAs);
