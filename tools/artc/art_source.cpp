#include "art_source.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>

namespace {

constexpr int kMaxFrameSide = 1024;

std::string Quoted(char symbol) { return std::string("'") + symbol + "'"; }

std::string ColourText(const PaletteEntry& colour) {
  return "(" + std::to_string(colour.Red) + ", " + std::to_string(colour.Green) + ", " +
         std::to_string(colour.Blue) + ")";
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName) : text_(text) {
    source_.FileName = fileName;
  }

  ArtSource Parse() {
    while (NextLine()) {
      if (line_.empty() || line_.front() == '#') continue;
      std::istringstream words{std::string(line_)};
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
        Fail("unknown line \"" + std::string(line_) + "\"; expected size, palette, key, colour, " +
             "frame or a # comment");
      }
    }
    CheckComplete();
    return std::move(source_);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { FailAt(lineNumber_, message); }
  [[noreturn]] void FailAt(int line, const std::string& message) const {
    throw SourceError(source_.FileName + ":" + std::to_string(line) + ": " + message);
  }

  // Moves to the next line without its line ending and trailing blanks; false at the end.
  bool NextLine() {
    if (position_ >= text_.size()) return false;
    size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) end = text_.size();
    line_ = text_.substr(position_, end - position_);
    while (!line_.empty() && (line_.back() == '\r' || line_.back() == ' ' || line_.back() == '\t'))
      line_.remove_suffix(1);
    position_ = end + 1;
    ++lineNumber_;
    return true;
  }

  int ReadNumber(std::istringstream& words, const char* what, int least, int most) {
    std::string word;
    int value = 0;
    if (!(words >> word)) Fail(std::string("missing ") + what);
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < least || value > most)
      Fail(std::string(what) + " \"" + word + "\" is not a whole number from " +
           std::to_string(least) + " to " + std::to_string(most));
    return value;
  }

  void ExpectEnd(std::istringstream& words) {
    std::string extra;
    if (words >> extra) Fail("unexpected \"" + extra + "\"");
  }

  void ReadSize(std::istringstream& words) {
    if (source_.Width) Fail("a second size line");
    source_.Width = ReadNumber(words, "width", 1, kMaxFrameSide);
    source_.Height = ReadNumber(words, "height", 1, kMaxFrameSide);
    ExpectEnd(words);
  }

  void ReadPaletteSize(std::istringstream& words) {
    if (source_.PaletteSize) Fail("a second palette line");
    // An 8-bit bitmap holds at most 256 entries; the key and one figure colour at least 2.
    source_.PaletteSize = ReadNumber(words, "palette size", 2, 256);
    ExpectEnd(words);
  }

  LegendColour ReadLegendEntry(std::istringstream& words) {
    std::string symbol;
    if (!(words >> symbol)) Fail("missing colour letter");
    if (symbol.size() != 1 || symbol[0] == '#' || static_cast<unsigned char>(symbol[0]) < 0x21 ||
        static_cast<unsigned char>(symbol[0]) > 0x7E)
      Fail("colour letter \"" + symbol + "\" must be one printable character other than #");
    LegendColour entry;
    entry.Symbol = symbol[0];
    entry.Line = lineNumber_;
    entry.Colour.Red = static_cast<uint8_t>(ReadNumber(words, "red", 0, 255));
    entry.Colour.Green = static_cast<uint8_t>(ReadNumber(words, "green", 0, 255));
    entry.Colour.Blue = static_cast<uint8_t>(ReadNumber(words, "blue", 0, 255));
    if (Find(entry.Symbol)) Fail("colour letter " + Quoted(entry.Symbol) + " defined twice");
    return entry;
  }

  void ReadKey(std::istringstream& words) {
    if (keyRead_) Fail("a second key line");
    if (!source_.Colours.empty()) Fail("the key must come before the colours");
    source_.Key = ReadLegendEntry(words);
    ExpectEnd(words);
    keyRead_ = true;
  }

  // The rest of a colour line after the three components is a free comment.
  void ReadColour(std::istringstream& words) {
    if (!source_.PaletteSize || !keyRead_) Fail("palette and key must come before the colours");
    LegendColour entry = ReadLegendEntry(words);
    if (entry.Colour == source_.Key.Colour)
      Fail("colour " + Quoted(entry.Symbol) + " is the key colour " + ColourText(entry.Colour) +
           "; the figure must not use it");
    for (const LegendColour& other : source_.Colours)
      if (other.Colour == entry.Colour)
        Fail("colour " + Quoted(entry.Symbol) + " repeats colour " + Quoted(other.Symbol) + " " +
             ColourText(entry.Colour));
    if (int(source_.Colours.size()) + 2 > source_.PaletteSize)
      Fail("colour " + Quoted(entry.Symbol) + " does not fit: the palette holds " +
           std::to_string(source_.PaletteSize) + " entries, the key included");
    source_.Colours.push_back(entry);
  }

  const LegendColour* Find(char symbol) const {
    if (keyRead_ && source_.Key.Symbol == symbol) return &source_.Key;
    for (const LegendColour& entry : source_.Colours)
      if (entry.Symbol == symbol) return &entry;
    return nullptr;
  }

  void ReadFrame(std::istringstream& words) {
    if (!source_.Width || !source_.PaletteSize || !keyRead_)
      Fail("size, palette and key must come before the frames");
    std::string name;
    words >> name;
    ExpectEnd(words);
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
    frame.Line = lineNumber_;

    // The rows are the lines up to the next blank line or the end of the file.
    bool figure = false;
    while (NextLine() && !line_.empty()) {
      if (int(frame.Rows.size()) == source_.Height)
        Fail("frame " + name + " has more than " + std::to_string(source_.Height) + " rows");
      if (int(line_.size()) != source_.Width)
        Fail("row is " + std::to_string(line_.size()) + " pixels wide; frames are " +
             std::to_string(source_.Width) + " x " + std::to_string(source_.Height));
      for (size_t x = 0; x < line_.size(); ++x) {
        if (!Find(line_[x]))
          Fail("unknown colour letter " + Quoted(line_[x]) + " in column " + std::to_string(x + 1));
        figure = figure || line_[x] != source_.Key.Symbol;
      }
      frame.Rows.emplace_back(line_);
    }
    if (int(frame.Rows.size()) != source_.Height)
      FailAt(frame.Line, "frame " + name + " has " + std::to_string(frame.Rows.size()) +
                             " rows; frames are " + std::to_string(source_.Width) + " x " +
                             std::to_string(source_.Height));
    if (frame.Rows.back().front() != source_.Key.Symbol)
      FailAt(frame.Line + source_.Height, "the bottom-left pixel of " + name +
                                              " must be the key colour " +
                                              Quoted(source_.Key.Symbol));
    if (!figure) FailAt(frame.Line, "frame " + name + " holds no figure");
    for (int other = 0; other < kFrameCount; ++other) {
      const ArtFrame& earlier = source_.Frames[other];
      if (other != number - 1 && earlier.Line && earlier.Rows == frame.Rows)
        FailAt(frame.Line,
               "frame " + name + " is the same picture as Rgn" + std::to_string(other + 1));
    }
  }

  void CheckComplete() {
    if (!source_.Width || !source_.PaletteSize || !keyRead_)
      Fail("size, palette and key lines are required");
    for (int i = 0; i < kFrameCount; ++i)
      if (!source_.Frames[i].Line) Fail("frame Rgn" + std::to_string(i + 1) + " is missing");
  }

  std::string_view text_;
  size_t position_ = 0;
  std::string_view line_;
  int lineNumber_ = 0;
  bool keyRead_ = false;
  ArtSource source_;
};

}  // namespace

ArtSource ParseArtSource(std::string_view text, const std::string& fileName) {
  return Parser(text, fileName).Parse();
}

std::vector<PaletteEntry> BuildPalette(const ArtSource& source) {
  std::vector<PaletteEntry> palette{source.Key.Colour};
  for (const LegendColour& entry : source.Colours) palette.push_back(entry.Colour);
  for (int grey = 0; grey < 256 && int(palette.size()) < source.PaletteSize; ++grey) {
    const auto level = static_cast<uint8_t>(grey);
    const PaletteEntry padding{level, level, level, 0};
    if (std::find(palette.begin(), palette.end(), padding) == palette.end())
      palette.push_back(padding);
  }
  return palette;
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
