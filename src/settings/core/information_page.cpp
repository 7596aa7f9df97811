#include "settings/core/information_page.h"

#include "framework/core/sysutils.h"

namespace {

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : text) {
    if (Unreserved(c)) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0xF];
    }
  }
  return encoded;
}

}  // namespace

std::string InformationPageAddress(std::string_view programPath, std::string_view server) {
  const std::string name = ChangeFileExt(ExtractFileName(programPath), "");
  return std::string(server) + "info.php?pf=w&sn=" + PercentEncoded(name);
}
