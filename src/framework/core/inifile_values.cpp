#include "framework/core/inifile_values.h"

#include <cstdint>

#include "framework/core/sysutils.h"

namespace {

// The code point that starts at BEGIN and ends just before END in UTF-8 text; 0xFFFD for a
// malformed sequence (the wide API turns those into U+FFFD too, which is no blank).
char32_t DecodeUtf8(std::string_view text, size_t begin, size_t end) {
  const auto lead = static_cast<uint8_t>(text[begin]);
  const size_t length = end - begin;
  size_t expected = lead < 0x80         ? 1
                    : lead >> 5 == 0x6  ? 2
                    : lead >> 4 == 0xE  ? 3
                    : lead >> 3 == 0x1E ? 4
                                        : 0;
  if (expected == 0 || expected != length) return 0xFFFD;
  if (length == 1) return lead;
  char32_t c = lead & (0x7F >> length);
  for (size_t i = begin + 1; i < end; ++i) c = c << 6 | (static_cast<uint8_t>(text[i]) & 0x3F);
  return c;
}

size_t Utf8SequenceEnd(std::string_view text, size_t begin) {
  size_t end = begin + 1;
  while (end < text.size() && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80) ++end;
  return end;
}

size_t Utf8SequenceBegin(std::string_view text) {
  size_t begin = text.size() - 1;
  while (begin > 0 && (static_cast<uint8_t>(text[begin]) & 0xC0) == 0x80) --begin;
  return begin;
}

// Blanks that one profile reader or another strips around a value: the ASCII white space and the
// DOS end-of-file mark, and the Unicode spaces (a value in an ANSI file is read as Unicode
// first). Quoting a value needlessly costs nothing, so the set errs on the wide side.
bool IsProfileBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20 || c == 0x85 || c == 0xA0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool IsQuote(char32_t c) { return c == U'"' || c == U'\''; }

}  // namespace

bool IniBoolValue(std::string_view text, bool defaultValue) {
  std::string number(text);
  if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X'))
    number.replace(0, 2, "$");
  return StrToIntDef(number, defaultValue ? 1 : 0) != 0;
}

bool IsStorableIniValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string QuoteIniValue(std::string_view value) {
  if (value.empty()) return {};
  const char32_t first = DecodeUtf8(value, 0, Utf8SequenceEnd(value, 0));
  const char32_t last = DecodeUtf8(value, Utf8SequenceBegin(value), value.size());
  if (IsProfileBlank(first) || IsProfileBlank(last) || IsQuote(first) || IsQuote(last))
    return "\"" + std::string(value) + "\"";
  return std::string(value);
}
