// artc SOURCE_DIR OUTPUT_DIR: compiles the program's art (formats in assets/art/README.md).
// Characters: SOURCE_DIR/characters.txt names them; each has SOURCE_DIR/<Name>.art. Writes
// OUTPUT_DIR/<Name>/Rgn1.bmp .. Rgn12.bmp (8-bit, bottom-up, uncompressed), beside each bitmap
// its outline blob Rgn<N>.rgn, and the review pictures contact-sheet.png (six times enlarged)
// and strip-1x.png (real size).
// Pictures: every SOURCE_DIR/*.pic; writes OUTPUT_DIR/pictures/<Picture>.bmp or .ico and, for
// each source, the review sheet contact-sheet-<Source>.png.
// Every source is checked before anything is written; on a fault it prints "file:line: reason"
// and exits 1; wrong usage exits 2.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_source.h"
#include "contact_sheet.h"
#include "framework/core/exception.h"
#include "picture_source.h"
#include "region/core/region_data.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot open");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error(path.string() + ": cannot read");
  return text;
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (out) out.close();
  if (!out) throw std::runtime_error(path.string() + ": cannot write");
}

// The character names of characters.txt, one a line; # starts a comment line.
std::vector<std::string> ReadCharacterNames(const fs::path& path) {
  const std::string text = ReadText(path);
  std::vector<std::string> names;
  size_t start = 0;
  for (int line = 1; start < text.size(); ++line) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(start, end - start);
    start = end + 1;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty() || name.front() == '#') continue;
    const bool plain =
        name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") ==
        std::string::npos;
    if (!plain)
      throw SourceError(path.string() + ":" + std::to_string(line) + ": character name \"" + name +
                        "\" must be letters, digits and _ only");
    names.push_back(name);
  }
  if (names.empty()) throw SourceError(path.string() + ":1: no characters listed");
  return names;
}

void CompileCharacters(const std::vector<ArtSource>& sources, const std::vector<std::string>& names,
                       const fs::path& outputDir) {
  std::vector<SheetCharacter> sheet;
  for (size_t c = 0; c < sources.size(); ++c) {
    const ArtSource& source = sources[c];
    const std::vector<PaletteEntry> palette = BuildPalette(source);
    const fs::path folder = outputDir / names[c];
    fs::create_directories(folder);
    SheetCharacter& character = sheet.emplace_back(SheetCharacter{names[c], source.Key.Colour, {}});
    for (int i = 0; i < kFrameCount; ++i) {
      const std::string frameName = "Rgn" + std::to_string(i + 1);
      Image image = FrameImage(source, palette, i);
      const fs::path bitmap = folder / (frameName + ".bmp");
      WriteBytes(bitmap, WriteBmpFile(image));
      try {
        WriteBytes(folder / (frameName + ".rgn"), BmpToRgnData(image));
      } catch (const Exception& error) {
        throw SourceError(source.FileName + ":" + std::to_string(source.Frames[i].Line) +
                          ": frame " + frameName + " has no usable outline: " + error.Message());
      }
      character.Frames.push_back(bitmap);
    }
  }
  WriteContactSheet(sheet, outputDir / "contact-sheet.png");
  WriteActualSizeStrip(sheet, outputDir / "strip-1x.png");
}

std::string SizeText(const PictureImage& image) {
  return std::to_string(image.Width) + " x " + std::to_string(image.Height);
}

// The review tiles of one picture: each cell of a grid enlarged six times; other pictures at
// their size and, when small, enlarged; an icon also at the size the shell shows it.
std::vector<SheetTile> ReviewTiles(const Picture& picture, const fs::path& review) {
  std::vector<SheetTile> tiles;
  const CellLayout& cells = picture.Cells;
  for (size_t i = 0; i < picture.Images.size(); ++i) {
    const PictureImage& image = picture.Images[i];
    const fs::path file = review / (picture.Name + "-" + std::to_string(i) + ".bmp");
    WriteBytes(file, WriteReviewBitmap(image, kKeyShownAs));
    if (cells.Width) {
      int k = 0;
      for (int top = 0; top < image.Height; top += cells.Height)
        for (int left = 0; left < image.Width; left += cells.Width, ++k)
          tiles.push_back({file,
                           {"-crop",
                            std::to_string(cells.Width) + "x" + std::to_string(cells.Height) + "+" +
                                std::to_string(left) + "+" + std::to_string(top),
                            "+repage", "-scale", "800%"},
                           cells.Group + " " + std::to_string(k / cells.Labels.size() + 1) + "\n" +
                               cells.Labels[k % cells.Labels.size()]});
      continue;
    }
    const std::string name = picture.Name + " " + SizeText(image);
    tiles.push_back({file, {}, name});
    if (std::max(image.Width, image.Height) <= 64)
      tiles.push_back({file, {"-scale", "600%"}, name + ", enlarged"});
    if (picture.ShownSize && picture.ShownSize != image.Width) {
      const std::string shown =
          std::to_string(picture.ShownSize) + "x" + std::to_string(picture.ShownSize) + "!";
      const std::string at = name + " at " + std::to_string(picture.ShownSize);
      tiles.push_back({file, {"-sample", shown}, at + ", nearest"});
      tiles.push_back({file, {"-sample", shown, "-scale", "600%"}, at + ", nearest, enlarged"});
      tiles.push_back({file, {"-scale", shown}, at + ", averaged"});
      tiles.push_back({file, {"-scale", shown, "-scale", "600%"}, at + ", averaged, enlarged"});
    }
  }
  return tiles;
}

void CompilePictures(const std::vector<PictureSource>& sources, const fs::path& outputDir) {
  const fs::path folder = outputDir / "pictures";
  const fs::path review = outputDir / "review";
  fs::create_directories(folder);
  fs::create_directories(review);
  for (const PictureSource& source : sources) {
    std::vector<SheetTile> tiles;
    size_t columns = 1;
    for (const Picture& picture : source.Pictures) {
      if (picture.Kind == PictureKind::Bitmap)
        WriteBytes(folder / (picture.Name + ".bmp"), WritePictureBitmap(picture));
      else
        WriteBytes(folder / (picture.Name + ".ico"), WritePictureIcon(picture));
      const std::vector<SheetTile> own = ReviewTiles(picture, review);
      tiles.insert(tiles.end(), own.begin(), own.end());
      // Grids keep a row a group; other tiles flow six a row.
      columns = std::max(columns, picture.Cells.Width ? picture.Cells.Labels.size()
                                                      : std::min<size_t>(tiles.size(), 6));
    }
    WriteSheet(tiles, int(columns), true,
               outputDir / ("contact-sheet-" + fs::path(source.FileName).stem().string() + ".png"));
  }
  fs::remove_all(review);
}

void Compile(const fs::path& sourceDir, const fs::path& outputDir) {
  std::vector<ArtSource> characters;
  std::vector<std::string> names;
  if (fs::exists(sourceDir / "characters.txt")) {
    names = ReadCharacterNames(sourceDir / "characters.txt");
    for (const std::string& name : names) {
      const fs::path file = sourceDir / (name + ".art");
      characters.push_back(ParseArtSource(ReadText(file), file.string()));
    }
  }
  std::vector<fs::path> pictureFiles;
  for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir))
    if (entry.path().extension() == ".pic") pictureFiles.push_back(entry.path());
  std::sort(pictureFiles.begin(), pictureFiles.end());
  std::vector<PictureSource> pictures;
  std::set<std::string> pictureNames;
  for (const fs::path& file : pictureFiles) {
    PictureSource& source =
        pictures.emplace_back(ParsePictureSource(ReadText(file), file.string()));
    for (const Picture& picture : source.Pictures)
      if (!pictureNames.insert(picture.Name).second)
        throw SourceError(file.string() + ":" + std::to_string(picture.Line) + ": picture " +
                          picture.Name + " is also defined in another source");
  }
  if (characters.empty() && pictures.empty())
    throw SourceError(sourceDir.string() + ": no characters.txt and no .pic sources");

  if (!characters.empty()) CompileCharacters(characters, names, outputDir);
  if (!pictures.empty()) CompilePictures(pictures, outputDir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: artc SOURCE_DIR OUTPUT_DIR\n";
    return 2;
  }
  try {
    Compile(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "artc: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
