#pragma once
// Review pictures of the written frames, drawn with ImageMagick.
#include <filesystem>
#include <string>
#include <vector>

#include "region/core/bmp_file.h"

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
