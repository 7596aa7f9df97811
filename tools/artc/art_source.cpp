#include "art_source.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

constexpr int kMaxFrameSide = 1024;

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName) : reader_(text, fileName) {
    source_.FileName = fileName;
  }

  ArtSource Parse() {
    while (reader_.NextLine()) {
      const std::string_view line = reader_.Line();
      if (line.empty() || line.front() == '#') continue;
      std::istringstream words{std::string(line)};
      std::string keyword;
      words >> keyword;
      if (keyword == "size") {
        ReadSize(words);
      } else if (keyword == "palette") {
        ReadPaletteSize(words);
      } else if (keyword == "key") {
        ReadKey(words);
      } else if (keyword == "colour") {
        ReadColour(words);
      } else if (keyword == "frame") {
        ReadFrame(words);
      } else {
        Fail("unknown line \"" + std::string(line) + "\"; expected size, palette, key, colour, " +
             "frame or a # comment");
      }
    }
    CheckComplete();
    source_.Key = legend_.Key();
    source_.Colours = legend_.Colours();
    return std::move(source_);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { reader_.Fail(message); }
  [[noreturn]] void FailAt(int line, const std::string& message) const {
    reader_.FailAt(line, message);
  }

  void ReadSize(std::istringstream& words) {
    if (source_.Width) Fail("a second size line");
    source_.Width = reader_.ReadNumber(words, "width", 1, kMaxFrameSide);
    source_.Height = reader_.ReadNumber(words, "height", 1, kMaxFrameSide);
    reader_.ExpectEnd(words);
  }

  void ReadPaletteSize(std::istringstream& words) {
    if (source_.PaletteSize) Fail("a second palette line");
    // An 8-bit bitmap holds at most 256 entries; the key and one figure colour at least 2.
    source_.PaletteSize = reader_.ReadNumber(words, "palette size", 2, 256);
    reader_.ExpectEnd(words);
  }

  void ReadKey(std::istringstream& words) {
    const LegendColour key = legend_.ReadEntry(reader_, words);
    reader_.ExpectEnd(words);
    legend_.SetKey(reader_, key);
  }

  // The rest of a colour line after the three components is a free comment.
  void ReadColour(std::istringstream& words) {
    if (!source_.PaletteSize || !legend_.HasKey())
      Fail("palette and key must come before the colours");
    const LegendColour entry = legend_.ReadEntry(reader_, words);
    if (int(legend_.Colours().size()) + 2 > source_.PaletteSize)
      Fail("colour " + Quoted(entry.Symbol) + " does not fit: the palette holds " +
           std::to_string(source_.PaletteSize) + " entries, the key included");
    legend_.AddColour(reader_, entry);
  }

  void ReadFrame(std::istringstream& words) {
    if (!source_.Width || !source_.PaletteSize || !legend_.HasKey())
      Fail("size, palette and key must come before the frames");
    std::string name;
    words >> name;
    reader_.ExpectEnd(words);
    int number = 0;
    if (name.starts_with("Rgn")) {
      auto [end, error] = std::from_chars(name.data() + 3, name.data() + name.size(), number);
      if (error != std::errc() || end != name.data() + name.size()) number = 0;
    }
    if (number < 1 || number > kFrameCount || name != "Rgn" + std::to_string(number))
      Fail("frame name \"" + name + "\" must be Rgn1 to Rgn12");
    ArtFrame& frame = source_.Frames[number - 1];
    if (frame.Line)
      Fail("frame " + name + " defined twice, first at line " + std::to_string(frame.Line));
    frame.Line = reader_.LineNumber();

    // The rows are the lines up to the next blank line or the end of the file.
    bool figure = false;
    while (reader_.NextLine() && !reader_.Line().empty()) {
      const std::string_view row = reader_.Line();
      if (int(frame.Rows.size()) == source_.Height)
        Fail("frame " + name + " has more than " + std::to_string(source_.Height) + " rows");
      if (int(row.size()) != source_.Width)
        Fail("row is " + std::to_string(row.size()) + " pixels wide; frames are " +
             std::to_string(source_.Width) + " x " + std::to_string(source_.Height));
      for (size_t x = 0; x < row.size(); ++x) {
        if (!legend_.Find(row[x]))
          Fail("unknown colour letter " + Quoted(row[x]) + " in column " + std::to_string(x + 1));
        figure = figure || row[x] != legend_.Key().Symbol;
      }
      frame.Rows.emplace_back(row);
    }
    if (int(frame.Rows.size()) != source_.Height)
      FailAt(frame.Line, "frame " + name + " has " + std::to_string(frame.Rows.size()) +
                             " rows; frames are " + std::to_string(source_.Width) + " x " +
                             std::to_string(source_.Height));
    if (frame.Rows.back().front() != legend_.Key().Symbol)
      FailAt(frame.Line + source_.Height, "the bottom-left pixel of " + name +
                                              " must be the key colour " +
                                              Quoted(legend_.Key().Symbol));
    if (!figure) FailAt(frame.Line, "frame " + name + " holds no figure");
    for (int other = 0; other < kFrameCount; ++other) {
      const ArtFrame& earlier = source_.Frames[other];
      if (other != number - 1 && earlier.Line && earlier.Rows == frame.Rows)
        FailAt(frame.Line,
               "frame " + name + " is the same picture as Rgn" + std::to_string(other + 1));
    }
  }

  void CheckComplete() {
    if (!source_.Width || !source_.PaletteSize || !legend_.HasKey())
      Fail("size, palette and key lines are required");
    for (int i = 0; i < kFrameCount; ++i)
      if (!source_.Frames[i].Line) Fail("frame Rgn" + std::to_string(i + 1) + " is missing");
  }

  SourceReader reader_;
  Legend legend_;
  ArtSource source_;
};

}  // namespace

ArtSource ParseArtSource(std::string_view text, const std::string& fileName) {
  return Parser(text, fileName).Parse();
}

std::vector<PaletteEntry> PadPalette(std::vector<PaletteEntry> palette, int size) {
  for (int grey = 0; grey < 256 && int(palette.size()) < size; ++grey) {
    const auto level = static_cast<uint8_t>(grey);
    const PaletteEntry padding{level, level, level, 0};
    if (std::find(palette.begin(), palette.end(), padding) == palette.end())
      palette.push_back(padding);
  }
  return palette;
}

std::vector<PaletteEntry> BuildPalette(const ArtSource& source) {
  std::vector<PaletteEntry> palette{source.Key.Colour};
  for (const LegendColour& entry : source.Colours) palette.push_back(entry.Colour);
  return PadPalette(std::move(palette), source.PaletteSize);
}

Image FrameImage(const ArtSource& source, const std::vector<PaletteEntry>& palette, int index) {
  std::array<uint8_t, 256> entryOf{};  // colour letter -> palette entry; the key is entry 0
  for (size_t i = 0; i < source.Colours.size(); ++i)
    entryOf[static_cast<unsigned char>(source.Colours[i].Symbol)] = static_cast<uint8_t>(i + 1);
  Image image = Image::Create(source.Width, source.Height, 8);
  image.Palette = palette;
  const ArtFrame& frame = source.Frames[index];
  for (int y = 0; y < source.Height; ++y)
    for (int x = 0; x < source.Width; ++x)
      image.SetIndex(x, y, entryOf[static_cast<unsigned char>(frame.Rows[y][x])]);
  return image;
}
