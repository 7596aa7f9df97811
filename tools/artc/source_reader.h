#pragma once
// What the art sources share: reading a text line by line with its line numbers, whole numbers
// in ranges, faults reported as "file:line: reason", and the legend of one-letter colours.
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/core/bmp_file.h"

// A fault in a source file; the message starts with "file:line: ".
class SourceError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SourceReader {
 public:
  SourceReader(std::string_view text, std::string fileName)
      : text_(text), fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }
  // The current line without its line ending and trailing blanks, and its 1-based number.
  std::string_view Line() const { return line_; }
  int LineNumber() const { return lineNumber_; }
  // Moves to the next line; false at the end of the text.
  bool NextLine();

  [[noreturn]] void Fail(const std::string& message) const { FailAt(lineNumber_, message); }
  [[noreturn]] void FailAt(int line, const std::string& message) const;

  // The next word of `words` as a whole number from `least` to `most`, `what` naming it.
  int ReadNumber(std::istringstream& words, const char* what, int least, int most) const;
  // Fails if `words` holds anything more.
  void ExpectEnd(std::istringstream& words) const;

 private:
  std::string_view text_;
  std::string fileName_;
  size_t position_ = 0;
  std::string_view line_;
  int lineNumber_ = 0;
};

std::string Quoted(char symbol);
std::string ColourText(const PaletteEntry& colour);

struct LegendColour {
  char Symbol = 0;
  PaletteEntry Colour;
  int Line = 0;
};

// The one-letter colours of a source: an optional key (the background or transparent colour)
// and the picture's own colours, no letter and no colour twice.
class Legend {
 public:
  // Reads "LETTER RED GREEN BLUE" from `words` (the rest of the line is left to the caller).
  LegendColour ReadEntry(const SourceReader& reader, std::istringstream& words) const;
  // Fails if the key has been set or colours came first.
  void SetKey(const SourceReader& reader, const LegendColour& key);
  // Fails if the colour is the key's or another letter's.
  void AddColour(const SourceReader& reader, const LegendColour& colour);

  bool HasKey() const { return hasKey_; }
  const LegendColour& Key() const { return key_; }
  const std::vector<LegendColour>& Colours() const { return colours_; }
  // The entry of a letter, the key included; null for an unknown letter.
  const LegendColour* Find(char symbol) const;

 private:
  bool hasKey_ = false;
  LegendColour key_;
  std::vector<LegendColour> colours_;
};
