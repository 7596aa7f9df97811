#include "framework/graphics.h"

#include <map>

#include "framework/classes.h"

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

bool IdentToColor(const std::string& name, TColor& color) {
  static const std::map<std::string, TColor> colors = {
      {"clBlack", clBlack},     {"clWhite", clWhite},         {"clRed", 0x0000FF},
      {"clLime", 0x00FF00},     {"clBlue", 0xFF0000},         {"clYellow", 0x00FFFF},
      {"clGray", 0x808080},     {"clSilver", 0xC0C0C0},       {"clBtnFace", clBtnFace},
      {"clWindow", clWindow},   {"clWindowText", clWindowText}, {"clNone", 0x1FFFFFFF}};
  auto it = colors.find(name);
  if (it == colors.end()) return false;
  color = it->second;
  return true;
}

bool TFont::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, int> charsets = {{"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                                      {"ANSI_CHARSET", ANSI_CHARSET},
                                                      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}};
  if (name == "Font.Name") {
    Name = TextValue(name, value);
  } else if (name == "Font.Height") {
    Height = IntegerValue(name, value);
  } else if (name == "Font.Charset") {
    Charset = EnumValue(name, value, charsets);
  } else if (name == "Font.Color") {
    if (value.Kind == ValueKind::Integer) {
      Color = value.Integer;
    } else if (!IdentToColor(IdentifierValue(name, value), Color)) {
      BadValue(name, value);
    }
  } else if (name == "Font.Style") {
    if (value.Kind != ValueKind::Set) BadValue(name, value);
    Bold = Italic = Underline = StrikeOut = false;
    for (const auto& item : value.Items) {
      if (item == "fsBold") Bold = true;
      else if (item == "fsItalic") Italic = true;
      else if (item == "fsUnderline") Underline = true;
      else if (item == "fsStrikeOut") StrikeOut = true;
      else BadValue(name, value);
    }
  } else {
    return false;
  }
  return true;
}

HFONT TFont::Handle() {
  std::string key = Name + '\n' + std::to_string(Height) + '\n' + std::to_string(Charset) +
                    (Bold ? "b" : "") + (Italic ? "i" : "") + (Underline ? "u" : "") +
                    (StrikeOut ? "s" : "");
  if (!handle_ || key != madeFor_) {
    LOGFONTW lf{};
    lf.lfHeight = Height;
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Italic;
    lf.lfUnderline = Underline;
    lf.lfStrikeOut = StrikeOut;
    lf.lfCharSet = static_cast<BYTE>(Charset);
    std::wstring face = Widen(Name);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    handle_.Reset(CreateFontIndirectW(&lf));
    madeFor_ = key;
  }
  return handle_.Get();
}
