#include "contact_sheet.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace {

constexpr int kFramesPerDirection = 3;
constexpr int kDirections = 4;
const char* const kSheetBackground = "#a8a8a8";
const char* const kDesktopColour = "#008080";

// The label font: ImageMagick has no usable default font on a bare system.
std::string LabelFont() {
  for (const char* candidate : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                                "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf"})
    if (std::filesystem::exists(candidate)) return candidate;
  throw std::runtime_error("no font for the contact sheet labels (install fonts-dejavu-core)");
}

std::string ColourArgument(const PaletteEntry& colour) {
  return "rgb(" + std::to_string(colour.Red) + "," + std::to_string(colour.Green) + "," +
         std::to_string(colour.Blue) + ")";
}

// Runs a program found on PATH with the given arguments and waits for it.
void Run(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start " + arguments[0] + " (is ImageMagick installed?)");
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("lost " + arguments[0]);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(arguments[0] + " failed");
}

// One frame with its key colour painted over, as an ImageMagick sub-sequence.
void AddFrame(std::vector<std::string>& arguments, const SheetCharacter& character,
              const std::filesystem::path& frame, const char* background) {
  arguments.insert(arguments.end(), {"(", frame.string(), "-fill", background, "-opaque",
                                     ColourArgument(character.Key), ")"});
}

}  // namespace

void WriteSheet(const std::vector<SheetTile>& tiles, int columns, bool equalCells,
                const std::filesystem::path& output) {
  // montage cannot run operations on single images: convert writes the tiles first.
  const std::filesystem::path folder = output.parent_path() / (output.stem().string() + "-tiles");
  std::filesystem::create_directories(folder);
  std::vector<std::string> convert{"convert"};
  std::vector<std::string> montage{"montage", "-font",       LabelFont(),     "-pointsize",
                                   "13",      "-background", kSheetBackground};
  for (size_t i = 0; i < tiles.size(); ++i) {
    const std::filesystem::path tile = folder / (std::to_string(i) + ".png");
    convert.insert(convert.end(), {"(", tiles[i].Picture.string()});
    convert.insert(convert.end(), tiles[i].Operations.begin(), tiles[i].Operations.end());
    convert.insert(convert.end(), {"-write", tile.string(), "+delete", ")"});
    montage.insert(montage.end(), {"-label", tiles[i].Label, tile.string()});
  }
  convert.insert(convert.end(), {"-size", "1x1", "xc:none", "null:"});  // it must end on an image
  const size_t rows = (tiles.size() + columns - 1) / columns;
  // "1x1<": every cell as large as the largest tile, the tiles themselves left as they are.
  montage.insert(montage.end(), {"-tile", std::to_string(columns) + "x" + std::to_string(rows),
                                 "-geometry", equalCells ? "1x1<+6+6" : "+6+6", output.string()});
  Run(convert);
  Run(montage);
  std::filesystem::remove_all(folder);
}

void WriteContactSheet(const std::vector<SheetCharacter>& characters,
                       const std::filesystem::path& output) {
  std::vector<SheetTile> tiles;
  for (int direction = 0; direction < kDirections; ++direction)
    for (const SheetCharacter& character : characters)
      for (int step = 0; step < kFramesPerDirection; ++step) {
        const int index = direction * kFramesPerDirection + step;
        tiles.push_back({character.Frames.at(index),
                         {"-fill", ColourArgument(kKeyShownAs), "-opaque",
                          ColourArgument(character.Key), "-scale", "600%"},
                         character.Name + " Rgn" + std::to_string(index + 1)});
      }
  WriteSheet(tiles, int(characters.size()) * kFramesPerDirection, false, output);
}

void WriteActualSizeStrip(const std::vector<SheetCharacter>& characters,
                          const std::filesystem::path& output) {
  std::vector<std::string> arguments{"convert", "-background", kDesktopColour, "-bordercolor",
                                     kDesktopColour};
  for (const SheetCharacter& character : characters)
    for (const std::filesystem::path& frame : character.Frames) {
      AddFrame(arguments, character, frame, kDesktopColour);
      arguments.insert(arguments.end() - 1, {"-border", "3"});
    }
  arguments.insert(arguments.end(),
                   {"-gravity", "south", "+append", "-border", "3", "+repage", output.string()});
  Run(arguments);
}
