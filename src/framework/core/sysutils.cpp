#include "framework/core/sysutils.h"

#include <optional>

namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    auto digit = HexDigit(c);
    if (!digit || value > 0x0FFFFFFFu) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(*digit);
  }
  return static_cast<int32_t>(value);
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

int32_t StrToIntDef(std::string_view text, int32_t defaultValue) {
  auto value = !text.empty() && text[0] == '$' ? ParseHex(text.substr(1)) : ParseDecimal(text);
  return value.value_or(defaultValue);
}

std::string ExtractFilePath(std::string_view fileName) {
  return std::string(fileName.substr(0, fileName.size() - ExtractFileName(fileName).size()));
}

std::string ExtractFileName(std::string_view fileName) {
  const size_t last = fileName.find_last_of("\\/:");
  return std::string(last == std::string_view::npos ? fileName : fileName.substr(last + 1));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
  const size_t dot = fileName.find_last_of(".\\/:");
  const bool hasExtension = dot != std::string_view::npos && fileName[dot] == '.';
  return std::string(hasExtension ? fileName.substr(0, dot) : fileName) + std::string(extension);
}

std::string QuoteArgument(std::string_view argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only before a quotation mark.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}
