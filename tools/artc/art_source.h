#pragma once
// The text form of one character's frames: a header (frame size, palette size, key colour), a
// legend of one-letter colours, then twelve pixel maps. assets/art/README.md describes it.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/bmp_file.h"
#include "source_reader.h"

constexpr int kFrameCount = 12;

struct ArtFrame {
  int Line = 0;  // of its "frame" line; 0 while the frame has not been read
  std::vector<std::string> Rows;
};

struct ArtSource {
  std::string FileName;
  int Width = 0, Height = 0;
  int PaletteSize = 0;
  LegendColour Key;
  std::vector<LegendColour> Colours;         // the figure's colours, in legend order
  std::array<ArtFrame, kFrameCount> Frames;  // Rgn1 .. Rgn12
};

// `colours` followed by grey entries (red = green = blue, from black upward, skipping colours
// already present) up to `size` entries.
std::vector<PaletteEntry> PadPalette(std::vector<PaletteEntry> colours, int size);

// Reads and checks a whole source; throws SourceError at the first fault.
ArtSource ParseArtSource(std::string_view text, const std::string& fileName);

// The frame bitmaps' palette: the key colour at entry 0, the legend colours in order, then grey
// entries (red = green = blue, from black upward, skipping colours already present) up to
// PaletteSize. The grey padding is never referenced by a pixel and never equals the key.
std::vector<PaletteEntry> BuildPalette(const ArtSource& source);

// Frame `index` (0 for Rgn1) as an 8-bit bitmap with the given palette.
Image FrameImage(const ArtSource& source, const std::vector<PaletteEntry>& palette, int index);
