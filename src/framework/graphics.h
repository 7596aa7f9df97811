#pragma once
// Colours, fonts and the drawing surface that controls paint on.
#include <cstdint>
#include <string>

#include "framework/core/description.h"
#include "framework/winapi.h"

// A colour: 0x00BBGGRR, or a system colour with the high bit set (clBtnFace).
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
COLORREF ColorToRGB(TColor color);
// The colour named by a stored identifier (clBtnFace, clRed, ...); false if unknown.
bool IdentToColor(const std::string& name, TColor& color);

class TFont {
 public:
  std::string Name = "MS UI Gothic";
  int Height = -12;  // negative: character height in pixels
  int Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;

  // Applies a stored Font.* property; false if NAME is not a font property.
  bool SetProperty(const std::string& name, const Value& value);
  HFONT Handle();  // made on first use, remade after a change

 private:
  FontHandle handle_;
  std::string madeFor_;
};

enum class TBrushStyle { bsSolid, bsClear };

// A drawing surface over a device context that someone else owns.
class TCanvas {
 public:
  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc) { dc_ = dc; }

 private:
  HDC dc_ = nullptr;
};
