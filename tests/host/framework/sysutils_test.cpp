// The framework's Windows-free value rules: StrToIntDef, ReadBool's reading of a value, the
// folder of a file name, and how ini values are quoted and refused; then the same code fed random
// text under the sanitizers, against an independent model.
#include "framework/core/sysutils.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <regex>

#include "framework/core/inifile_values.h"

namespace {

TEST(StrToIntDef, AcceptsSignedDecimalAndDollarHexadecimalWithin32Bits) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"1", 1},
      {"0", 0},
      {"2", 2},
      {"-1", -1},
      {"+1", 1},
      {"-0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"$1f", 31},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$000000000010", 16},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, 99), c.expected) << c.text;
}

TEST(StrToIntDef, GivesTheDefaultForAnythingElse) {
  const char* cases[] = {
      "",    " 1",  "1 ",  "+",   "-",          "$",          "0x10",        "1e3",
      "1.0", "yes", "$-1", "-$1", "$100000000", "2147483648", "-2147483649", "99999999999999999999",
      "１",  "$G",  "1\n"};
  for (const char* text : cases) EXPECT_EQ(StrToIntDef(text, -7), -7) << '"' << text << '"';
  EXPECT_EQ(StrToIntDef(std::string_view("1\0", 2), -7), -7) << "a NUL inside";
}

TEST(IniBoolValue, ReadsTheVisibleValuesOfTheSettingsFile) {
  struct Case {
    const char* text;
    bool defaultValue, expected;
  };
  const Case cases[] = {
      {"1", false, true},
      {"0", true, false},
      {"2", false, true},
      {"-1", false, true},
      {"0x0", true, false},
      {"0X1F", false, true},
      {"0x00000000", true, false},
      {"$10", false, true},
      {"$0", true, false},
      {"0x", false, false},
      {"0x", true, true},
      {"0X", true, true},
      {"", true, true},
      {"", false, false},
      {"yes", true, true},
      {"yes", false, false},
      {" 1", false, false},
      {"+1", false, true},
      {"00", true, false},
      {"2147483648", false, false},
      {"-2147483649", true, true},
      {"0xG", true, true},
      {"0x-1", false, false},
      {"0xFFFFFFFF", false, true},
      {"0x100000000", false, false},
      {"x1", false, false},
      {"1x0", true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IniBoolValue(c.text, c.defaultValue), c.expected)
        << '"' << c.text << "\" default " << c.defaultValue;
}

TEST(ExtractFilePath, KeepsEverythingUpToTheLastSeparator) {
  EXPECT_EQ(ExtractFilePath("C:\\Program Files\\Tivolu\\tivolu.exe"),
            "C:\\Program Files\\Tivolu\\");
  EXPECT_EQ(ExtractFilePath("\\\\server\\share\\t.exe"), "\\\\server\\share\\");
  EXPECT_EQ(ExtractFilePath("C:tivolu.exe"), "C:");
  EXPECT_EQ(ExtractFilePath("Z:/home/user/tivolu.exe"), "Z:/home/user/");
  EXPECT_EQ(ExtractFilePath("tivolu.exe"), "");
  EXPECT_EQ(ExtractFilePath(""), "");
  EXPECT_EQ(ExtractFilePath("C:\\dir\\"), "C:\\dir\\");
  // In Shift-JIS the second byte of "表" and "ソ" is a backslash; in UTF-8 no byte of a
  // multibyte character is.
  EXPECT_EQ(ExtractFilePath("C:\\表示\\ソフト\\起動.exe"), "C:\\表示\\ソフト\\");
}

TEST(ExtractFileNameAndChangeFileExt, NameAndExtensionParts) {
  EXPECT_EQ(ExtractFileName("C:\\Program Files\\Tivolu\\tivolu.exe"), "tivolu.exe");
  EXPECT_EQ(ExtractFileName("Z:/home/user/tivolu.exe"), "tivolu.exe");
  EXPECT_EQ(ExtractFileName("C:tivolu.exe"), "tivolu.exe");
  EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
  EXPECT_EQ(ExtractFileName("tivolu.exe"), "tivolu.exe");
  EXPECT_EQ(ChangeFileExt("tivolu.exe", ""), "tivolu");
  EXPECT_EQ(ChangeFileExt("my.tivolu.exe", ""), "my.tivolu");
  EXPECT_EQ(ChangeFileExt("tivolu", ""), "tivolu");
  EXPECT_EQ(ChangeFileExt("C:\\v1.2\\tivolu", ".ini"), "C:\\v1.2\\tivolu.ini");  // the folder's dot
  EXPECT_EQ(ChangeFileExt("C:\\dir\\tivolu.exe", ".ini"), "C:\\dir\\tivolu.ini");
}

TEST(QuoteArgument, EscapesBackslashesOnlyBeforeQuotationMarks) {
  EXPECT_EQ(QuoteArgument("Z:\\tmp\\a b.txt"), "\"Z:\\tmp\\a b.txt\"");
  EXPECT_EQ(QuoteArgument(""), "\"\"");
  // A root folder's backslash would otherwise escape the closing quotation mark.
  EXPECT_EQ(QuoteArgument("Z:\\"), "\"Z:\\\\\"");
  EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
  EXPECT_EQ(QuoteArgument("資料\\メモ"), "\"資料\\メモ\"");
}

TEST(IniValueStorage, RefusesLineBreaksAndNulOnly) {
  EXPECT_TRUE(IsStorableIniValue(""));
  EXPECT_TRUE(IsStorableIniValue("C:\\a b\\\t\"x\"=;[y]"));
  EXPECT_TRUE(IsStorableIniValue("日本語"));
  EXPECT_FALSE(IsStorableIniValue("a\rb"));
  EXPECT_FALSE(IsStorableIniValue("a\nb"));
  EXPECT_FALSE(IsStorableIniValue("a\r\n"));
  EXPECT_FALSE(IsStorableIniValue(std::string_view("a\0b", 3)));
}

TEST(IniValueStorage, QuotesOnlyValuesThatTheReaderWouldChange) {
  EXPECT_EQ(QuoteIniValue(""), "");
  EXPECT_EQ(QuoteIniValue("C:\\My Documents\\a b.txt"), "C:\\My Documents\\a b.txt");
  EXPECT_EQ(QuoteIniValue("a\"b'c"), "a\"b'c");
  EXPECT_EQ(QuoteIniValue(" a"), "\" a\"");
  EXPECT_EQ(QuoteIniValue("a\t"), "\"a\t\"");
  EXPECT_EQ(QuoteIniValue("\"a\""), "\"\"a\"\"");
  EXPECT_EQ(QuoteIniValue("'a'"), "\"'a'\"");
  EXPECT_EQ(QuoteIniValue("\"a"), "\"\"a\"");
  EXPECT_EQ(QuoteIniValue("a'"), "\"a'\"");
  EXPECT_EQ(QuoteIniValue("\""), "\"\"\"");
  EXPECT_EQ(QuoteIniValue("ファイル\u3000"), "\"ファイル\u3000\"");
  EXPECT_EQ(QuoteIniValue("\u00A0x"), "\"\u00A0x\"");
  EXPECT_EQ(QuoteIniValue("日本語"), "日本語");
  EXPECT_EQ(QuoteIniValue("\xE3\x80"), "\xE3\x80") << "a cut sequence is no blank";
}

// --- The same rules fed random text, against models written independently of them. ---

std::optional<int32_t> ModelStrToInt(const std::string& text) {
  static const std::regex decimal("[+-]?[0-9]+"), hex("\\$[0-9A-Fa-f]+");
  errno = 0;
  if (std::regex_match(text, decimal)) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
  }
  if (std::regex_match(text, hex)) {
    const unsigned long long value = std::strtoull(text.c_str() + 1, nullptr, 16);
    if (errno == ERANGE || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  return std::nullopt;
}

// A reader of profile values: blanks around the value go (BLANKS, as UTF-8 pieces), then one
// pair of enclosing quotation marks of the same kind.
std::string ModelRead(std::string value, const std::vector<std::string>& blanks) {
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const std::string& blank : blanks) {
      if (value.starts_with(blank)) value.erase(0, blank.size()), trimmed = true;
      if (value.ends_with(blank)) value.erase(value.size() - blank.size()), trimmed = true;
    }
  }
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return value;
}

TEST(ValueRulesFuzz, RandomTextAgainstModels) {
  std::mt19937 random(20240612);
  const std::vector<std::string> numberPieces = {"0",          "1",
                                                 "7",          "9",
                                                 "+",          "-",
                                                 "$",          "x",
                                                 "X",          "a",
                                                 "F",          "g",
                                                 " ",          "\t",
                                                 "2147483648", "4294967295",
                                                 "00000000",   "\xEF\xBC\x91",
                                                 "\x80",       std::string(1, '\0')};
  const std::vector<std::string> valuePieces = {"a",  "\\", " ",        "\t",     "\x1A",
                                                "\"", "'",  "=",        "\u3000", "\u00A0",
                                                "é",  "日", "\xE3\x80", "\xFF"};
  const std::vector<std::string> asciiBlanks = {" ", "\t", "\x0B", "\x0C", "\x1A"};
  std::vector<std::string> wideBlanks = asciiBlanks;
  wideBlanks.insert(wideBlanks.end(), {"\u3000", "\u00A0"});
  auto randomText = [&](const std::vector<std::string>& pieces, int maxPieces) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
    for (int i = 0; i < count; ++i)
      text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    return text;
  };
  int numbers = 0, quoted = 0;
  for (int round = 0; round < 200000; ++round) {
    const std::string text = randomText(numberPieces, 6);
    const auto model = ModelStrToInt(text);
    ASSERT_EQ(StrToIntDef(text, 12345), model.value_or(12345)) << '"' << text << '"';
    if (model) ++numbers;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto boolModel = ModelStrToInt(hex ? "$" + text.substr(2) : text);
    ASSERT_EQ(IniBoolValue(text, true), boolModel ? *boolModel != 0 : true) << text;
    ASSERT_EQ(IniBoolValue(text, false), boolModel ? *boolModel != 0 : false) << text;

    const std::string value = randomText(valuePieces, 5);
    const std::string stored = QuoteIniValue(value);
    if (stored != value) ++quoted;
    ASSERT_EQ(ModelRead(stored, asciiBlanks), value) << '"' << value << '"';
    ASSERT_EQ(ModelRead(stored, wideBlanks), value) << '"' << value << '"';
  }
  std::printf("200000 rounds: %d numbers, %d values quoted\n", numbers, quoted);
  EXPECT_GT(numbers, 5000);
  EXPECT_GT(quoted, 10000);
}

}  // namespace
