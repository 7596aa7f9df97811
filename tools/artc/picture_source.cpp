#include "picture_source.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "art_source.h"
#include "source_reader.h"

namespace {

constexpr int kMaxPictureSide = 4096;
constexpr int kMaxIconSide = 256;

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName) : reader_(text, fileName) {
    source_.FileName = fileName;
  }

  PictureSource Parse() {
    while (reader_.NextLine()) {
      const std::string_view line = reader_.Line();
      if (line.empty() || line.front() == '#') continue;
      std::istringstream words{std::string(line)};
      std::string keyword;
      words >> keyword;
      if (keyword == "key") {
        ReadKey(words);
      } else if (keyword == "colour") {
        ReadColour(words);
      } else if (keyword == "bitmap") {
        ReadBitmap(words);
      } else if (keyword == "icon") {
        ReadIcon(words);
      } else if (keyword == "image") {
        ReadImage(words);
      } else if (keyword == "cells") {
        ReadCells(words);
      } else if (keyword == "shown") {
        ReadShown(words);
      } else if (keyword == "at") {
        ReadMap(words);
      } else if (keyword == "tile") {
        ReadTile(words);
      } else if (keyword == "paste") {
        ReadPaste(words);
      } else {
        reader_.Fail("unknown line \"" + std::string(line) +
                     "\"; expected key, colour, bitmap, icon, image, cells, shown, at, tile, "
                     "paste or a # comment");
      }
    }
    FinishPicture();
    if (source_.Pictures.empty()) reader_.Fail("no pictures: a bitmap or icon line is required");
    return std::move(source_);
  }

 private:
  void ReadKey(std::istringstream& words) {
    const LegendColour key = legend_.ReadEntry(reader_, words);
    legend_.SetKey(reader_, key);  // the rest of the line is a comment, as for colours
  }

  void ReadColour(std::istringstream& words) {
    legend_.AddColour(reader_, legend_.ReadEntry(reader_, words));
  }

  std::string ReadName(std::istringstream& words) {
    std::string name;
    if (!(words >> name)) reader_.Fail("missing picture name");
    if (name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") !=
        std::string::npos)
      reader_.Fail("picture name \"" + name + "\" must be letters, digits and _ only");
    for (const Picture& other : source_.Pictures)
      if (other.Name == name)
        reader_.Fail("picture " + name + " defined twice, first at line " +
                     std::to_string(other.Line));
    return name;
  }

  Picture& StartPicture(std::istringstream& words, PictureKind kind) {
    FinishPicture();
    Picture& picture = source_.Pictures.emplace_back();
    picture.Name = ReadName(words);
    picture.Line = reader_.LineNumber();
    picture.Kind = kind;
    return picture;
  }

  void ReadBitmap(std::istringstream& words) {
    Picture& picture = StartPicture(words, PictureKind::Bitmap);
    const int width = reader_.ReadNumber(words, "width", 1, kMaxPictureSide);
    const int height = reader_.ReadNumber(words, "height", 1, kMaxPictureSide);
    picture.BitsPerPixel = ReadDepth(words, 8, 24);
    reader_.ExpectEnd(words);
    StartImage(picture, width, height);
  }

  void ReadIcon(std::istringstream& words) {
    Picture& picture = StartPicture(words, PictureKind::Icon);
    picture.BitsPerPixel = ReadDepth(words, 24, 32);
    reader_.ExpectEnd(words);
  }

  int ReadDepth(std::istringstream& words, int one, int other) {
    const int depth = reader_.ReadNumber(words, "bits per pixel", one, other);
    if (depth != one && depth != other)
      reader_.Fail("bits per pixel must be " + std::to_string(one) + " or " +
                   std::to_string(other));
    return depth;
  }

  Picture& Current(const char* what) {
    if (source_.Pictures.empty())
      reader_.Fail(std::string(what) + " before any bitmap or icon line");
    return source_.Pictures.back();
  }

  void ReadImage(std::istringstream& words) {
    Picture& picture = Current("image");
    if (picture.Kind != PictureKind::Icon) reader_.Fail("image lines belong to icons");
    const int width = reader_.ReadNumber(words, "width", 1, kMaxIconSide);
    const int height = reader_.ReadNumber(words, "height", 1, kMaxIconSide);
    reader_.ExpectEnd(words);
    FinishImage();
    for (const PictureImage& other : picture.Images)
      if (other.Width == width && other.Height == height)
        reader_.Fail("icon " + picture.Name + " has a " + SizeText(width, height) +
                     " image already, at line " + std::to_string(other.Line));
    StartImage(picture, width, height);
  }

  void StartImage(Picture& picture, int width, int height) {
    PictureImage& image = picture.Images.emplace_back();
    image.Line = reader_.LineNumber();
    image.Width = width;
    image.Height = height;
    image.Colours.resize(size_t(width) * height);
    image.Key.resize(size_t(width) * height);
    drawn_.assign(size_t(width) * height, false);
  }

  // "cells WIDTH HEIGHT GROUP: LABEL / LABEL / ...": the review sheet's grid and its labels.
  void ReadCells(std::istringstream& words) {
    Picture& picture = Current("cells");
    if (picture.Kind != PictureKind::Bitmap) reader_.Fail("cells lines belong to bitmaps");
    if (picture.Cells.Width) reader_.Fail("a second cells line");
    const PictureImage& image = picture.Images.front();
    CellLayout& cells = picture.Cells;
    cells.Width = reader_.ReadNumber(words, "cell width", 1, image.Width);
    cells.Height = reader_.ReadNumber(words, "cell height", 1, image.Height);
    if (image.Width % cells.Width || image.Height % cells.Height)
      reader_.Fail(SizeText(cells.Width, cells.Height) + " cells do not tile the " +
                   SizeText(image.Width, image.Height) + " picture");
    std::string rest;
    std::getline(words, rest);
    const size_t colon = rest.find(':');
    cells.Group = Trimmed(rest.substr(0, std::min(colon, rest.size())));
    if (colon == std::string::npos || cells.Group.empty())
      reader_.Fail("cells need their labels: GROUP: LABEL / LABEL / ...");
    std::istringstream labels(rest.substr(colon + 1));
    for (std::string label; std::getline(labels, label, '/');) {
      cells.Labels.push_back(Trimmed(label));
      if (cells.Labels.back().empty()) reader_.Fail("an empty cell label");
    }
    if (cells.Labels.empty()) reader_.Fail("cells need their labels: GROUP: LABEL / LABEL / ...");
  }

  void ReadShown(std::istringstream& words) {
    Picture& picture = Current("shown");
    if (picture.Kind != PictureKind::Icon) reader_.Fail("shown lines belong to icons");
    picture.ShownSize = reader_.ReadNumber(words, "shown size", 1, kMaxIconSide);
    reader_.ExpectEnd(words);
  }

  PictureImage& CurrentImage(const char* what) {
    Picture& picture = Current(what);
    if (picture.Images.empty())
      reader_.Fail(std::string(what) + " before the icon's first image line");
    return picture.Images.back();
  }

  struct MapRow {
    int Line;
    std::string Letters;
  };

  // The rows of a map up to a blank line or the end of the file. Spaces inside a row only
  // separate panels for the reader and are dropped.
  std::vector<MapRow> ReadRows() {
    const int mapLine = reader_.LineNumber();
    std::vector<MapRow> rows;
    while (reader_.NextLine() && !reader_.Line().empty()) {
      MapRow& row = rows.emplace_back(MapRow{reader_.LineNumber(), ""});
      for (char letter : reader_.Line())
        if (letter != ' ') row.Letters += letter;
      if (row.Letters.size() != rows.front().Letters.size())
        reader_.Fail("row is " + std::to_string(row.Letters.size()) +
                     " pixels wide; the map's first is " +
                     std::to_string(rows.front().Letters.size()));
      for (size_t column = 0; column < row.Letters.size(); ++column)
        if (!legend_.Find(row.Letters[column]))
          reader_.Fail("unknown colour letter " + Quoted(row.Letters[column]) + " in column " +
                       std::to_string(column + 1));
    }
    if (rows.empty()) reader_.FailAt(mapLine, "a map without rows");
    return rows;
  }

  void Draw(PictureImage& image, int x, int y, PaletteEntry colour, bool key) {
    const size_t at = size_t(y) * image.Width + x;
    image.Colours[at] = colour;
    image.Key[at] = key;
    drawn_[at] = true;
  }

  void DrawLetter(PictureImage& image, int x, int y, char letter) {
    const LegendColour* entry = legend_.Find(letter);
    Draw(image, x, y, entry->Colour, legend_.HasKey() && entry == &legend_.Key());
  }

  // "at X Y", then a map whose top-left pixel goes to X, Y.
  void ReadMap(std::istringstream& words) {
    PictureImage& image = CurrentImage("at");
    const int left = reader_.ReadNumber(words, "x", 0, image.Width - 1);
    const int top = reader_.ReadNumber(words, "y", 0, image.Height - 1);
    reader_.ExpectEnd(words);
    const std::vector<MapRow> rows = ReadRows();
    for (size_t i = 0; i < rows.size(); ++i) {
      const int y = top + int(i);
      if (left + int(rows[i].Letters.size()) > image.Width || y >= image.Height)
        reader_.FailAt(rows[i].Line,
                       "the map leaves the " + SizeText(image.Width, image.Height) + " picture");
      for (size_t column = 0; column < rows[i].Letters.size(); ++column)
        DrawLetter(image, left + int(column), y, rows[i].Letters[column]);
    }
  }

  // "tile X Y WIDTH HEIGHT", then a map repeated across that rectangle from its top-left.
  void ReadTile(std::istringstream& words) {
    PictureImage& image = CurrentImage("tile");
    const int left = reader_.ReadNumber(words, "x", 0, image.Width - 1);
    const int top = reader_.ReadNumber(words, "y", 0, image.Height - 1);
    const int width = reader_.ReadNumber(words, "width", 1, image.Width - left);
    const int height = reader_.ReadNumber(words, "height", 1, image.Height - top);
    reader_.ExpectEnd(words);
    const std::vector<MapRow> rows = ReadRows();
    for (int y = 0; y < height; ++y) {
      const std::string& letters = rows[size_t(y) % rows.size()].Letters;
      for (int x = 0; x < width; ++x)
        DrawLetter(image, left + x, top + y, letters[size_t(x) % letters.size()]);
    }
  }

  // "paste NAME X Y", or "paste NAME X Y grey": a bitmap of this source drawn before, at X, Y,
  // in its colours or in greys of the same lightness.
  void ReadPaste(std::istringstream& words) {
    PictureImage& image = CurrentImage("paste");
    std::string name;
    if (!(words >> name)) reader_.Fail("missing picture name");
    const Picture* from = nullptr;
    for (size_t i = 0; i + 1 < source_.Pictures.size(); ++i)
      if (source_.Pictures[i].Name == name) from = &source_.Pictures[i];
    if (!from || from->Kind != PictureKind::Bitmap)
      reader_.Fail("paste takes a bitmap of this source drawn before; " + name + " is none");
    const PictureImage& pasted = from->Images.front();
    const int left = reader_.ReadNumber(words, "x", 0, image.Width - 1);
    const int top = reader_.ReadNumber(words, "y", 0, image.Height - 1);
    std::string mode;
    const bool grey = bool(words >> mode);
    if (grey && mode != "grey")
      reader_.Fail("unexpected \"" + mode + "\"; expected grey or nothing");
    reader_.ExpectEnd(words);
    if (left + pasted.Width > image.Width || top + pasted.Height > image.Height)
      reader_.Fail(name + " leaves the " + SizeText(image.Width, image.Height) + " picture");
    for (int y = 0; y < pasted.Height; ++y)
      for (int x = 0; x < pasted.Width; ++x) {
        PaletteEntry colour = pasted.Colour(x, y);
        if (grey && !pasted.IsKey(x, y)) colour = Grey(colour);
        Draw(image, left + x, top + y, colour, pasted.IsKey(x, y));
      }
  }

  // The grey of the colour's lightness (ITU-R BT.601 weights).
  static PaletteEntry Grey(PaletteEntry colour) {
    const auto level =
        uint8_t((299 * colour.Red + 587 * colour.Green + 114 * colour.Blue + 500) / 1000);
    return {level, level, level, 0};
  }

  // Every pixel of an image must be drawn; 24-bit icons have no transparent pixels.
  void FinishImage() {
    if (source_.Pictures.empty() || source_.Pictures.back().Images.empty()) return;
    const Picture& picture = source_.Pictures.back();
    const PictureImage& image = picture.Images.back();
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) {
        if (!drawn_[size_t(y) * image.Width + x])
          reader_.FailAt(image.Line, "pixel " + std::to_string(x) + ", " + std::to_string(y) +
                                         " of " + picture.Name + " is not drawn");
        if (picture.Kind == PictureKind::Icon && picture.BitsPerPixel == 24 && image.IsKey(x, y))
          reader_.FailAt(image.Line, "pixel " + std::to_string(x) + ", " + std::to_string(y) +
                                         " of " + picture.Name +
                                         " is the key; a 24-bit icon is opaque");
      }
  }

  void FinishPicture() {
    FinishImage();
    if (source_.Pictures.empty()) return;
    const Picture& picture = source_.Pictures.back();
    if (picture.Images.empty())
      reader_.FailAt(picture.Line, "icon " + picture.Name + " has no image");
    if (picture.Kind == PictureKind::Bitmap) CheckBitmap(picture);
  }

  // The program takes a bitmap's (or each cell's) bottom-left colour as its transparent colour:
  // with a key, that pixel must be it.
  void CheckBitmap(const Picture& picture) {
    const PictureImage& image = picture.Images.front();
    if (legend_.HasKey()) {
      const int cellWidth = picture.Cells.Width ? picture.Cells.Width : image.Width;
      const int cellHeight = picture.Cells.Height ? picture.Cells.Height : image.Height;
      for (int top = 0; top < image.Height; top += cellHeight)
        for (int left = 0; left < image.Width; left += cellWidth)
          if (!image.IsKey(left, top + cellHeight - 1))
            reader_.FailAt(picture.Line, "the bottom-left pixel " + std::to_string(left) + ", " +
                                             std::to_string(top + cellHeight - 1) + " of " +
                                             picture.Name + " must be the key colour " +
                                             Quoted(legend_.Key().Symbol));
    }
  }

  SourceReader reader_;
  Legend legend_;
  PictureSource source_;
  std::vector<bool> drawn_;  // of the image being drawn
};

// The image's pixels as a 24-bit bitmap in memory.
Image TrueColourImage(const PictureImage& picture) {
  Image image = Image::Create(picture.Width, picture.Height, 24);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) image.SetColour(x, y, picture.Colour(x, y));
  return image;
}

// The image's colours in first-seen order, padded to 256 entries as the frames' palettes are. A
// legend has at most 93 letters, and pasting in grey adds at most as many: the colours fit.
Image PalettedImage(const PictureImage& picture) {
  std::map<PaletteEntry, uint8_t> entryOf;
  std::vector<PaletteEntry> colours;
  for (const PaletteEntry& colour : picture.Colours)
    if (entryOf.emplace(colour, uint8_t(colours.size())).second) colours.push_back(colour);
  Image image = Image::Create(picture.Width, picture.Height, 8);
  image.Palette = PadPalette(std::move(colours), 256);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) image.SetIndex(x, y, entryOf.at(picture.Colour(x, y)));
  return image;
}

}  // namespace

PictureSource ParsePictureSource(std::string_view text, const std::string& fileName) {
  return Parser(text, fileName).Parse();
}

std::vector<uint8_t> WritePictureBitmap(const Picture& picture) {
  const PictureImage& image = picture.Images.front();
  if (picture.BitsPerPixel == 24) return WriteBmpFile(TrueColourImage(image));
  std::vector<uint8_t> file = WriteBmpFile(PalettedImage(image));
  // The full palette is stated as "all entries of the depth": colours used 0.
  constexpr size_t kColoursUsed = 14 + 32;
  std::fill_n(file.begin() + kColoursUsed, 4, 0);
  return file;
}

std::vector<uint8_t> WritePictureIcon(const Picture& picture) {
  constexpr uint32_t kDirectorySize = 6, kEntrySize = 16, kHeaderSize = 40;
  const uint32_t bits = picture.BitsPerPixel;
  std::vector<uint8_t> out;
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // an icon, not a cursor
  PutU16(out, uint32_t(picture.Images.size()));

  std::vector<std::vector<uint8_t>> bodies;
  uint32_t offset = kDirectorySize + kEntrySize * uint32_t(picture.Images.size());
  for (const PictureImage& image : picture.Images) {
    const uint32_t colourRow = (uint32_t(image.Width) * bits + 31) / 32 * 4;
    const uint32_t maskRow = (uint32_t(image.Width) + 31) / 32 * 4;
    std::vector<uint8_t>& body = bodies.emplace_back();
    PutU32(body, kHeaderSize);
    PutU32(body, uint32_t(image.Width));
    PutU32(body, uint32_t(image.Height) * 2);  // colour rows and mask rows
    PutU16(body, 1);
    PutU16(body, bits);
    PutU32(body, 0);  // uncompressed
    PutU32(body, (colourRow + maskRow) * uint32_t(image.Height));
    for (int i = 0; i < 4; ++i) PutU32(body, 0);  // resolution, colours used, important colours
    for (int y = image.Height - 1; y >= 0; --y) {
      const size_t rowStart = body.size();
      for (int x = 0; x < image.Width; ++x) {
        const bool clear = bits == 32 && image.IsKey(x, y);
        const PaletteEntry c = clear ? PaletteEntry{} : image.Colour(x, y);
        body.insert(body.end(), {c.Blue, c.Green, c.Red});
        if (bits == 32) body.push_back(clear ? 0 : 255);
      }
      body.resize(rowStart + colourRow);
    }
    for (int y = image.Height - 1; y >= 0; --y) {
      const size_t rowStart = body.size();
      body.resize(rowStart + maskRow);
      for (int x = 0; x < image.Width; ++x)
        if (bits == 32 && image.IsKey(x, y)) body[rowStart + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    // Directory entry: sizes of 256 are written as 0; colour count 0 (no palette).
    out.insert(out.end(), {uint8_t(image.Width), uint8_t(image.Height), 0, 0});
    PutU16(out, 1);
    PutU16(out, bits);
    PutU32(out, uint32_t(body.size()));
    PutU32(out, offset);
    offset += uint32_t(body.size());
  }
  for (const std::vector<uint8_t>& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> WriteReviewBitmap(const PictureImage& picture, PaletteEntry keyShownAs) {
  Image image = TrueColourImage(picture);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      if (picture.IsKey(x, y)) image.SetColour(x, y, keyShownAs);
  return WriteBmpFile(image);
}
