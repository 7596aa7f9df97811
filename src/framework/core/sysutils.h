#pragma once
// Run-time helpers of the framework that need no Windows header: number conversion, path
// splitting and command-line quoting, as the rest of the program expects them.
#include <cstdint>
#include <string>
#include <string_view>

// The 32-bit integer TEXT stands for, or DEFAULT_VALUE when it stands for none. Accepted: an
// optional "+" or "-" and decimal digits within -2147483648..2147483647, or "$" and up to 32 bits
// of hexadecimal digits (taken as the bit pattern, so "$FFFFFFFF" is -1). Nothing else: no blanks,
// no empty text, no sign before "$".
int32_t StrToIntDef(std::string_view text, int32_t defaultValue);

// The folder part of a file name: everything up to and including the last "\", "/" or ":", or
// nothing when there is none. Works on UTF-8 text (separators never occur inside a multibyte
// character there).
std::string ExtractFilePath(std::string_view fileName);
// The name part: everything after the last "\", "/" or ":".
std::string ExtractFileName(std::string_view fileName);
// FILE_NAME with its extension (from the last "." of its name part on, if any) replaced by
// EXTENSION; an empty EXTENSION removes it.
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

// ARGUMENT as one argument of a Windows command line: in quotation marks, with the backslashes
// that precede a quotation mark (its own or the closing one) doubled and its own quotation marks
// escaped, so that CommandLineToArgvW and the C run-time read back exactly ARGUMENT.
std::string QuoteArgument(std::string_view argument);
