#pragma once
// Review pictures of the written frames and pictures, drawn with ImageMagick.
#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"

// How a key (transparent) colour shows on the sheets.
inline constexpr PaletteEntry kKeyShownAs{216, 216, 216, 0};

struct SheetCharacter {
  std::string Name;
  PaletteEntry Key;
  std::vector<std::filesystem::path> Frames;  // Rgn1 .. Rgn12
};

// All frames enlarged six times and labelled, one row per walking direction (up, down, left,
// right), the key colour shown as a neutral grey.
void WriteContactSheet(const std::vector<SheetCharacter>& characters,
                       const std::filesystem::path& output);

// All frames at their real size side by side on a desktop-coloured background.
void WriteActualSizeStrip(const std::vector<SheetCharacter>& characters,
                          const std::filesystem::path& output);

// One labelled picture of a sheet: a bitmap file and the ImageMagick operations that make the
// tile from it (a crop, a scale).
struct SheetTile {
  std::filesystem::path Picture;
  std::vector<std::string> Operations;
  std::string Label;
};

// The tiles in a grid of `columns`, labelled, on a grey background; with `equalCells` every cell
// has the room of the largest tile, so that the labels of small ones stay apart.
void WriteSheet(const std::vector<SheetTile>& tiles, int columns, bool equalCells,
                const std::filesystem::path& output);
