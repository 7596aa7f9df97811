#include "source_reader.h"

#include <charconv>

bool SourceReader::NextLine() {
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

void SourceReader::FailAt(int line, const std::string& message) const {
  throw SourceError(fileName_ + ":" + std::to_string(line) + ": " + message);
}

int SourceReader::ReadNumber(std::istringstream& words, const char* what, int least,
                             int most) const {
  std::string word;
  int value = 0;
  if (!(words >> word)) Fail(std::string("missing ") + what);
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < least || value > most)
    Fail(std::string(what) + " \"" + word + "\" is not a whole number from " +
         std::to_string(least) + " to " + std::to_string(most));
  return value;
}

void SourceReader::ExpectEnd(std::istringstream& words) const {
  std::string extra;
  if (words >> extra) Fail("unexpected \"" + extra + "\"");
}

std::string Quoted(char symbol) { return std::string("'") + symbol + "'"; }

std::string ColourText(const PaletteEntry& colour) {
  return "(" + std::to_string(colour.Red) + ", " + std::to_string(colour.Green) + ", " +
         std::to_string(colour.Blue) + ")";
}

LegendColour Legend::ReadEntry(const SourceReader& reader, std::istringstream& words) const {
  std::string symbol;
  if (!(words >> symbol)) reader.Fail("missing colour letter");
  if (symbol.size() != 1 || symbol[0] == '#' || static_cast<unsigned char>(symbol[0]) < 0x21 ||
      static_cast<unsigned char>(symbol[0]) > 0x7E)
    reader.Fail("colour letter \"" + symbol + "\" must be one printable character other than #");
  LegendColour entry;
  entry.Symbol = symbol[0];
  entry.Line = reader.LineNumber();
  entry.Colour.Red = static_cast<uint8_t>(reader.ReadNumber(words, "red", 0, 255));
  entry.Colour.Green = static_cast<uint8_t>(reader.ReadNumber(words, "green", 0, 255));
  entry.Colour.Blue = static_cast<uint8_t>(reader.ReadNumber(words, "blue", 0, 255));
  if (Find(entry.Symbol)) reader.Fail("colour letter " + Quoted(entry.Symbol) + " defined twice");
  return entry;
}

void Legend::SetKey(const SourceReader& reader, const LegendColour& key) {
  if (hasKey_) reader.Fail("a second key line");
  if (!colours_.empty()) reader.Fail("the key must come before the colours");
  key_ = key;
  hasKey_ = true;
}

void Legend::AddColour(const SourceReader& reader, const LegendColour& entry) {
  if (hasKey_ && entry.Colour == key_.Colour)
    reader.Fail("colour " + Quoted(entry.Symbol) + " is the key colour " +
                ColourText(entry.Colour) + "; the figure must not use it");
  for (const LegendColour& other : colours_)
    if (other.Colour == entry.Colour)
      reader.Fail("colour " + Quoted(entry.Symbol) + " repeats colour " + Quoted(other.Symbol) +
                  " " + ColourText(entry.Colour));
  colours_.push_back(entry);
}

const LegendColour* Legend::Find(char symbol) const {
  if (hasKey_ && key_.Symbol == symbol) return &key_;
  for (const LegendColour& entry : colours_)
    if (entry.Symbol == symbol) return &entry;
  return nullptr;
}
