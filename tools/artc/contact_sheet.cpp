#include "contact_sheet.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace {

constexpr int kFramesPerDirection = 3;
constexpr int kDirections = 4;
const char* const kNeutralGrey = "#d8d8d8";
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
              const std::filesystem::path& frame, const char* background, const char* scale) {
  arguments.insert(arguments.end(), {"(", frame.string(), "-fill", background, "-opaque",
                                     ColourArgument(character.Key), "-scale", scale, ")"});
}

}  // namespace

void WriteContactSheet(const std::vector<SheetCharacter>& characters,
                       const std::filesystem::path& output) {
  // montage cannot recolour single images: convert writes the enlarged tiles first.
  const std::filesystem::path tiles = output.parent_path() / "contact-sheet-tiles";
  std::filesystem::create_directories(tiles);
  std::vector<std::string> convert{"convert"};
  std::vector<std::string> montage{"montage", "-font",       LabelFont(),     "-pointsize",
                                   "13",      "-background", kSheetBackground};
  for (int direction = 0; direction < kDirections; ++direction)
    for (const SheetCharacter& character : characters)
      for (int step = 0; step < kFramesPerDirection; ++step) {
        const int index = direction * kFramesPerDirection + step;
        const std::string label = character.Name + " Rgn" + std::to_string(index + 1);
        const std::filesystem::path tile =
            tiles / (character.Name + "-Rgn" + std::to_string(index + 1) + ".png");
        AddFrame(convert, character, character.Frames.at(index), kNeutralGrey, "600%");
        convert.insert(convert.end() - 1, {"-write", tile.string(), "+delete"});
        montage.insert(montage.end(), {"-label", label, tile.string()});
      }
  convert.insert(convert.end(), {"-size", "1x1", "xc:none", "null:"});  // it must end on an image
  montage.insert(montage.end(), {"-tile",
                                 std::to_string(characters.size() * kFramesPerDirection) + "x" +
                                     std::to_string(kDirections),
                                 "-geometry", "+6+6", output.string()});
  Run(convert);
  Run(montage);
  std::filesystem::remove_all(tiles);
}

void WriteActualSizeStrip(const std::vector<SheetCharacter>& characters,
                          const std::filesystem::path& output) {
  std::vector<std::string> arguments{"convert", "-background", kDesktopColour, "-bordercolor",
                                     kDesktopColour};
  for (const SheetCharacter& character : characters)
    for (const std::filesystem::path& frame : character.Frames) {
      AddFrame(arguments, character, frame, kDesktopColour, "100%");
      arguments.insert(arguments.end() - 1, {"-border", "3"});
    }
  arguments.insert(arguments.end(),
                   {"-gravity", "south", "+append", "-border", "3", "+repage", output.string()});
  Run(arguments);
}
