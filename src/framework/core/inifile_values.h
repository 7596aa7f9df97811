#pragma once
// How the ini file's values are read and stored, apart from the file itself (no Windows header).
#include <string>
#include <string_view>

// ReadBool's reading of TEXT: "0x" or "0X" before at least one more character stands for "$";
// then StrToIntDef with DEFAULT_VALUE as 1 or 0; true when the integer is not zero.
bool IniBoolValue(std::string_view text, bool defaultValue);

// Whether VALUE can stand in one line of a profile file: a line break would split it into other
// keys and a NUL would cut it short.
bool IsStorableIniValue(std::string_view value);

// VALUE as it must be written so that the profile reader, which strips the blanks around a value
// and one pair of enclosing quotation marks, gives it back unchanged: values with a blank at
// either end or a quotation mark at either end are enclosed in double quotation marks; all others
// are written as they are. VALUE is UTF-8.
std::string QuoteIniValue(std::string_view value);
