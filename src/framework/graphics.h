#pragma once
// Colours, fonts, the drawing surface that controls paint on, and bitmaps.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "framework/core/description.h"
#include "framework/handles.h"
#include "framework/winapi.h"

// A colour: 0x00BBGGRR, or a system colour with the high bit set (clBtnFace).
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;  // no colour
COLORREF ColorToRGB(TColor color);
// The colour named by a stored identifier (clBtnFace, clRed, ...); false if unknown.
bool IdentToColor(const std::string& name, TColor& color);

// A stored colour value: a number, or an identifier that IdentToColor knows; EReadError else.
TColor ColorValue(const std::string& property, const Value& value);

struct TFontStyles {
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  bool operator==(const TFontStyles&) const = default;
};

// A font description. Every change that alters it runs OnChange once.
class TFont {
 public:
  TFont() = default;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  int Height() const { return height_; }  // negative: character height in pixels
  void SetHeight(int value);
  int Charset() const { return charset_; }
  void SetCharset(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  // Takes every attribute of SOURCE (not its OnChange).
  void Assign(const TFont& source);

  // Applies a stored Font.* property; false if NAME is not a font property.
  bool SetProperty(const std::string& name, const Value& value);
  HFONT Handle();  // made on first use, remade after a change
  bool HandleAllocated() const { return static_cast<bool>(handle_); }

  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = "MS UI Gothic";
  int height_ = -12;
  int charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  TFontStyles style_;
  FontHandle handle_;
  bool handleStale_ = true;
};

enum class TBrushStyle { bsSolid, bsClear };

// The fill of a canvas: FillRect, the background of text, and the pattern of raster operations.
class TBrush {
 public:
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  // A solid brush of Color (kept until Color changes), or the null brush when clear.
  HBRUSH Handle();

 private:
  BrushHandle handle_;
  COLORREF madeFor_ = CLR_INVALID;
};

class TBitmap;

// A drawing surface: either over a device context that someone else owns (the canvas of a
// control, lent for one paint) or the canvas of a bitmap, which draws into that bitmap.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The device context. A bitmap's canvas takes it that the caller draws through it: the
  // bitmap's pixels are read back from the drawing surface when next asked for.
  HDC Handle() const;
  void SetHandle(HDC dc) { dc_ = dc; }

  // The raster operation of Draw, StretchDraw and CopyRect (SRCCOPY, SRCAND, SRCINVERT, ...).
  // Operations that use a pattern take the canvas's brush.
  DWORD CopyMode = SRCCOPY;
  TBrush Brush;
  TFont Font;  // of the text, in its colour

  // Draws BITMAP with its top-left corner at (x, y) / stretched over RECT. A transparent bitmap
  // lets the canvas show where it has its transparent colour.
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& rect, TBitmap& bitmap);
  // Copies SOURCE's SOURCERECT onto DEST with CopyMode, stretching when the sizes differ.
  // Colour to monochrome gives 1 where the source has its background colour; monochrome to
  // colour gives this canvas's background colour for 1 and its text colour for 0.
  void CopyRect(const RECT& dest, const TCanvas& source, const RECT& sourceRect);
  // The colour at (x, y); CLR_INVALID outside the surface.
  TColor Pixel(int x, int y) const;
  void SetBackgroundColor(TColor color);
  void SetTextColor(TColor color);

  // Fills RECT with the brush (nothing when the brush is clear).
  void FillRect(const RECT& rect);
  // The size of TEXT in the canvas's font.
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // Writes TEXT with its top-left corner at (x, y), clipped to CLIP; on the brush's colour unless
  // the brush is clear.
  void TextRect(const RECT& clip, int x, int y, const std::string& text);
  // The dotted rectangle that marks the focus (drawn by inverting: a second call removes it).
  void DrawFocusRect(const RECT& rect);

 private:
  // The device context for reading and for setting drawing state, without taking it that the
  // bitmap's pixels change.
  HDC SurfaceHandle() const;

  friend class CanvasLend;
  TBitmap* bitmap_ = nullptr;
  HDC dc_ = nullptr;
};

// Lends a device context that someone else owns to a canvas for one scope; the canvas has its
// previous one again afterwards.
class CanvasLend : ScopeGuard {
 public:
  CanvasLend(TCanvas& canvas, HDC dc) : canvas_(canvas), previous_(canvas.dc_) {
    canvas.SetHandle(dc);
  }
  ~CanvasLend() { canvas_.SetHandle(previous_); }

 private:
  TCanvas& canvas_;
  HDC previous_;
};

// A picture in memory (the core's Image) with a canvas. The GDI bitmap that drawing needs (a DIB
// section, or a monochrome bitmap) is made on first use and kept until the picture changes, so
// repeated drawing of the same picture allocates nothing.
class TBitmap {
 public:
  TBitmap();
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Copies SOURCE's picture (and whether it is monochrome); null empties the bitmap.
  void Assign(TBitmap* source);
  int Width() const { return image_.Width; }
  int Height() const { return image_.Height; }
  bool Empty() const { return image_.Empty(); }
  uint16_t BitsPerPixel() const { return image_.BitsPerPixel; }
  // A blank picture of the new size in the same pixel format (black, or palette index 0);
  // nothing happens when the size is unchanged.
  void SetSize(int width, int height);
  // Monochrome bitmaps hold 1 bit per pixel (0 black, 1 white) in a GDI monochrome bitmap (1
  // plane, 1 bit), the form that colour to monochrome copies need. Switching on turns white
  // pixels into 1 and all others into 0.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool value);

  // The pixels, including what was drawn on the canvas.
  const Image& GetImage();
  // The pixels for changing them in place (scan lines, pixel format); the drawing surface is
  // made anew on next use.
  Image& EditImage();
  // Takes IMAGE as the picture; EInvalidGraphic if it is inconsistent or a palette image lacks
  // its palette.
  void SetImage(Image image);
  // Reads a stored picture value ("Picture.Data"): a 32-bit length, then a BMP file; a length of
  // 0 empties the bitmap. EInvalidGraphic on a malformed value. A LASTING value stays where it
  // lies for as long as the bitmap (a picture in the program's resources): its header is checked
  // now and its pixels read from there on first use, so a picture never drawn holds no copy.
  void LoadFromProperty(std::span<const uint8_t> value, bool lasting = false);
  // Reads the bitmap resource NAME of MODULE. EResNotFound when there is none, EInvalidGraphic
  // when it is malformed; the picture is unchanged then.
  void LoadFromResourceName(HMODULE module, const std::string& name);

  TCanvas* Canvas() { return &canvas_; }
  // Whether the GDI drawing surface has been made (it is, on first drawing).
  bool SurfaceAllocated() const { return static_cast<bool>(surface_); }

  // Drawn transparent, the pixels of the transparent colour let the background show. The
  // transparent colour is the colour of the bottom-left pixel.
  bool Transparent = false;
  TColor TransparentColor();
  // Makes MASK a monochrome picture of PART of this one: 1 where it has COLOUR, 0 elsewhere.
  void CopyMask(TBitmap& mask, const RECT& part, TColor colour);

 private:
  friend class TCanvas;
  // The memory DC with the drawing surface selected, made on demand.
  HDC SurfaceDC();
  void ReleaseSurface();
  void ReadBackSurface();
  // Reads the pixels of a lasting stored picture into image_, once.
  void ReadStored();
  // PICTURE becomes the picture; STORED, when given, is its file, its pixels not read yet.
  void TakePicture(Image picture, std::span<const uint8_t> stored = {});

  Image image_;                      // without Pixels while stored_ is set
  std::span<const uint8_t> stored_;  // a lasting stored picture whose pixels are not read yet
  bool monochrome_ = false;
  MemoryDC dc_;
  HGDIOBJ dcDefaultBitmap_ = nullptr;
  BitmapHandle surface_;
  void* surfaceBits_ = nullptr;  // the DIB section's pixels; null for a monochrome bitmap
  bool surfaceDrawnOn_ = false;  // drawn on since the pixels were last read back
  TCanvas canvas_{this};
};

// An icon: kept as the icon file it was stored as ("Icon.Data"), shown through a handle made
// from the file's first image at that image's own size (the shell scales it as it shows it).
class TIcon {
 public:
  TIcon() = default;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  bool Empty() const { return !handle_; }
  HICON Handle() const { return handle_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<uint8_t>& Data() const { return data_; }

  // Takes an icon file; an empty one empties the icon. A malformed file, or one the platform
  // makes no icon of, raises EInvalidGraphic and changes nothing.
  void LoadFromData(std::span<const uint8_t> file);
  // Copies SOURCE's picture; null empties the icon.
  void Assign(const TIcon* source);
  // The picture for a place SIZE pixels a side on a screen of whole-pixel SCALE: the file's image
  // of exactly that size if it has one, else its first image with each pixel a SCALE × SCALE
  // block. Null when the icon is empty or the platform makes none.
  IconHandle ForSize(int size, int scale) const;

  // Called after every change of the picture.
  std::function<void()> OnChange;

 private:
  std::vector<uint8_t> data_;
  IconHandle handle_;
  int width_ = 0, height_ = 0;
};

// An opaque icon (empty mask) of IMAGE's size and pixels. EInvalidGraphic if none can be made.
IconHandle CreateOpaqueIcon(const Image& image);
