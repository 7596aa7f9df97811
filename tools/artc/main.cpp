// artc SOURCE_DIR OUTPUT_DIR: compiles the character art. SOURCE_DIR/characters.txt names the
// characters; each has SOURCE_DIR/<Name>.art (format in assets/art/README.md). Writes
// OUTPUT_DIR/<Name>/Rgn1.bmp .. Rgn12.bmp (8-bit, bottom-up, uncompressed), beside each bitmap
// its outline blob Rgn<N>.rgn, and the review pictures contact-sheet.png (six times enlarged)
// and strip-1x.png (real size). Every source is checked before anything is written; on a fault
// it prints "file:line: reason" and exits 1; wrong usage exits 2.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_source.h"
#include "contact_sheet.h"
#include "framework/core/exception.h"
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

void Compile(const fs::path& sourceDir, const fs::path& outputDir) {
  std::vector<ArtSource> sources;
  std::vector<std::string> names = ReadCharacterNames(sourceDir / "characters.txt");
  for (const std::string& name : names) {
    const fs::path file = sourceDir / (name + ".art");
    sources.push_back(ParseArtSource(ReadText(file), file.string()));
  }

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
