#include "framework/graphics.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "framework/classes.h"
#include "framework/core/exception.h"
#include "framework/core/icon_file.h"

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

bool IdentToColor(const std::string& name, TColor& color) {
  static const std::map<std::string, TColor> colors = {
      {"clBlack", clBlack},   {"clWhite", clWhite},           {"clRed", 0x0000FF},
      {"clLime", 0x00FF00},   {"clBlue", 0xFF0000},           {"clYellow", 0x00FFFF},
      {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},         {"clBtnFace", clBtnFace},
      {"clWindow", clWindow}, {"clWindowText", clWindowText}, {"clNone", clNone}};
  auto it = colors.find(name);
  if (it == colors.end()) return false;
  color = it->second;
  return true;
}

TColor ColorValue(const std::string& property, const Value& value) {
  TColor color = 0;
  if (value.Kind == ValueKind::Integer) return value.Integer;
  if (!IdentToColor(IdentifierValue(property, value), color)) BadValue(property, value);
  return color;
}

// TFont

void TFont::Changed() {
  handleStale_ = true;
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& value) {
  if (value == name_) return;
  name_ = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

void TFont::SetCharset(int value) {
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  // The colour is not part of the font handle.
  if (OnChange) OnChange();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TFont::Assign(const TFont& source) {
  if (&source == this) return;
  const bool sameHandle = name_ == source.name_ && height_ == source.height_ &&
                          charset_ == source.charset_ && style_ == source.style_;
  if (sameHandle && color_ == source.color_) return;
  name_ = source.name_;
  height_ = source.height_;
  charset_ = source.charset_;
  color_ = source.color_;
  style_ = source.style_;
  handleStale_ = handleStale_ || !sameHandle;
  if (OnChange) OnChange();
}

bool TFont::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, int> charsets = {{"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                                      {"ANSI_CHARSET", ANSI_CHARSET},
                                                      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}};
  if (name == "Font.Name") {
    SetName(TextValue(name, value));
  } else if (name == "Font.Height") {
    SetHeight(IntegerValue(name, value));
  } else if (name == "Font.Charset") {
    SetCharset(EnumValue(name, value, charsets));
  } else if (name == "Font.Color") {
    SetColor(ColorValue(name, value));
  } else if (name == "Font.Style") {
    if (value.Kind != ValueKind::Set) BadValue(name, value);
    TFontStyles style;
    for (const auto& item : value.Items) {
      if (item == "fsBold")
        style.Bold = true;
      else if (item == "fsItalic")
        style.Italic = true;
      else if (item == "fsUnderline")
        style.Underline = true;
      else if (item == "fsStrikeOut")
        style.StrikeOut = true;
      else
        BadValue(name, value);
    }
    SetStyle(style);
  } else {
    return false;
  }
  return true;
}

HFONT TFont::Handle() {
  if (!handle_ || handleStale_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Italic;
    lf.lfUnderline = style_.Underline;
    lf.lfStrikeOut = style_.StrikeOut;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    std::wstring face = Widen(name_);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    handle_.Reset(CreateFontIndirectW(&lf));
    handleStale_ = false;
  }
  return handle_.Get();
}

// TBrush

HBRUSH TBrush::Handle() {
  if (Style == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  const COLORREF rgb = ColorToRGB(Color);
  if (!handle_ || rgb != madeFor_) {
    handle_.Reset(CreateSolidBrush(rgb));
    madeFor_ = rgb;
  }
  return handle_.Get();
}

// TCanvas

HDC TCanvas::Handle() const {
  if (!bitmap_) return dc_;
  HDC dc = bitmap_->SurfaceDC();
  bitmap_->surfaceDrawnOn_ = true;
  return dc;
}

HDC TCanvas::SurfaceHandle() const { return bitmap_ ? bitmap_->SurfaceDC() : dc_; }

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  StretchDraw({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void TCanvas::StretchDraw(const RECT& rect, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  HDC source = bitmap.SurfaceDC();
  HDC target = Handle();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (bitmap.Transparent) {
    GdiTransparentBlt(target, rect.left, rect.top, width, height, source, 0, 0, bitmap.Width(),
                      bitmap.Height(), ColorToRGB(bitmap.TransparentColor()));
  } else {
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, rect.left, rect.top, width, height, source, 0, 0, bitmap.Width(),
               bitmap.Height(), CopyMode);
  }
}

namespace {

// Whether a ternary raster operation reads the pattern (the brush): its result differs between
// pattern bits 1 and 0 somewhere.
bool UsesPattern(DWORD rop) {
  const unsigned index = (rop >> 16) & 0xFF;
  return ((index >> 4) ^ index) & 0x0F;
}

}  // namespace

void TCanvas::CopyRect(const RECT& dest, const TCanvas& source, const RECT& sourceRect) {
  HDC from = source.SurfaceHandle();
  HDC to = Handle();
  SetStretchBltMode(to, COLORONCOLOR);
  std::optional<SelectObjectScope> brush;
  if (UsesPattern(CopyMode)) brush.emplace(to, Brush.Handle());
  StretchBlt(to, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from,
             sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
             sourceRect.bottom - sourceRect.top, CopyMode);
}

TColor TCanvas::Pixel(int x, int y) const {
  return static_cast<TColor>(GetPixel(SurfaceHandle(), x, y));
}

void TCanvas::SetBackgroundColor(TColor color) { SetBkColor(SurfaceHandle(), ColorToRGB(color)); }

void TCanvas::SetTextColor(TColor color) { ::SetTextColor(SurfaceHandle(), ColorToRGB(color)); }

void TCanvas::FillRect(const RECT& rect) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  ::FillRect(Handle(), &rect, Brush.Handle());
}

SIZE TCanvas::TextExtent(const std::string& text) {
  HDC dc = SurfaceHandle();
  SelectObjectScope font(dc, Font.Handle());
  const std::wstring wide = Widen(text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size;
}

void TCanvas::TextRect(const RECT& clip, int x, int y, const std::string& text) {
  HDC dc = Handle();
  SelectObjectScope font(dc, Font.Handle());
  const bool opaque = Brush.Style != TBrushStyle::bsClear;
  ::SetTextColor(dc, ColorToRGB(Font.Color()));
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  if (opaque) SetBkColor(dc, ColorToRGB(Brush.Color));
  const std::wstring wide = Widen(text);
  ExtTextOutW(dc, x, y, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &clip, wide.c_str(),
              static_cast<UINT>(wide.size()), nullptr);
}

void TCanvas::DrawFocusRect(const RECT& rect) { ::DrawFocusRect(Handle(), &rect); }

// TBitmap

namespace {

struct DibInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
};

// A top-down DIB description of IMAGE: the DIB's rows are then IMAGE's rows, byte for byte.
DibInfo DescribeImage(const Image& image) {
  DibInfo info{};
  BITMAPINFOHEADER& header = info.Header;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = image.Width;
  header.biHeight = -image.Height;
  header.biPlanes = 1;
  header.biBitCount = image.BitsPerPixel;
  header.biCompression = BI_RGB;
  if ((image.BitsPerPixel == 16 || image.BitsPerPixel == 32) &&
      (image.RedMask | image.GreenMask | image.BlueMask)) {
    header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {image.RedMask, image.GreenMask, image.BlueMask};
    std::memcpy(info.Colors, masks, sizeof masks);
  }
  header.biClrUsed = static_cast<DWORD>(std::min<size_t>(image.Palette.size(), 256));
  for (size_t i = 0; i < header.biClrUsed; ++i) {
    const PaletteEntry& e = image.Palette[i];
    info.Colors[i] = {e.Blue, e.Green, e.Red, 0};
  }
  return info;
}

const BITMAPINFO* AsBitmapInfo(const DibInfo& info) {
  return reinterpret_cast<const BITMAPINFO*>(&info);
}

// A DIB section holding a copy of IMAGE's pixels (null if none can be made); BITS receives its
// pixel memory.
BitmapHandle DibSectionOf(const Image& image, void** bits) {
  const DibInfo info = DescribeImage(image);
  BitmapHandle dib(CreateDIBSection(nullptr, AsBitmapInfo(info), DIB_RGB_COLORS, bits, nullptr, 0));
  if (dib) std::memcpy(*bits, image.Pixels.data(), image.Pixels.size());
  return dib;
}

Image EmptyImage() { return Image::Create(0, 0, 24); }

// 1 where IMAGE is white, 0 elsewhere.
Image ToMonochrome(const Image& image) {
  Image mono = Image::Create(image.Width, image.Height, 1);
  mono.Palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  const PaletteEntry white{255, 255, 255, 0};
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x)
      if (image.Colour(x, y) == white) mono.SetIndex(x, y, 1);
  return mono;
}

}  // namespace

TBitmap::TBitmap() : image_(EmptyImage()) {}

TBitmap::~TBitmap() { ReleaseSurface(); }

void TBitmap::Assign(TBitmap* source) {
  if (source == this) return;
  Image picture = source ? source->GetImage() : EmptyImage();
  ReleaseSurface();
  image_ = std::move(picture);
  stored_ = {};
  monochrome_ = source && source->monochrome_;
}

void TBitmap::SetSize(int width, int height) {
  if (width == Width() && height == Height()) return;
  stored_ = {};
  Image blank = Image::Create(width, height, image_.BitsPerPixel);
  blank.Palette = image_.Palette;
  blank.XPelsPerMeter = image_.XPelsPerMeter;
  blank.YPelsPerMeter = image_.YPelsPerMeter;
  blank.RedMask = image_.RedMask;
  blank.GreenMask = image_.GreenMask;
  blank.BlueMask = image_.BlueMask;
  ReleaseSurface();
  image_ = std::move(blank);
}

void TBitmap::SetMonochrome(bool value) {
  if (value == monochrome_) return;
  if (value) {
    Image mono = ToMonochrome(GetImage());
    ReleaseSurface();
    image_ = std::move(mono);
  } else {
    ReadBackSurface();
    ReleaseSurface();
  }
  monochrome_ = value;
}

const Image& TBitmap::GetImage() {
  ReadStored();
  ReadBackSurface();
  return image_;
}

Image& TBitmap::EditImage() {
  ReadStored();
  ReadBackSurface();
  ReleaseSurface();
  return image_;
}

void TBitmap::ReadStored() {
  if (stored_.empty()) return;
  image_ = ReadBmpFile(stored_);
  stored_ = {};
}

void TBitmap::SetImage(Image image) {
  if (!image.Valid()) throw EInvalidGraphic("ビットマップの画素データが不正です");
  if (image.BitsPerPixel <= 8 && !image.Empty() &&
      (image.Palette.empty() || image.Palette.size() > (1u << image.BitsPerPixel)))
    throw EInvalidGraphic("ビットマップのパレットが不正です");
  TakePicture(std::move(image));
}

void TBitmap::TakePicture(Image picture, std::span<const uint8_t> stored) {
  ReleaseSurface();
  image_ = std::move(picture);
  stored_ = image_.Empty() ? std::span<const uint8_t>() : stored;
  monochrome_ = false;
}

void TBitmap::LoadFromProperty(std::span<const uint8_t> value, bool lasting) {
  const std::span<const uint8_t> file = DecodeBitmapProperty(value);
  if (file.empty()) return SetImage(EmptyImage());
  if (!lasting) return SetImage(ReadBmpFile(file));
  TakePicture(ReadBmpFileHeader(file), file);
}

void TBitmap::LoadFromResourceName(HMODULE module, const std::string& name) {
  const std::wstring wide = Widen(name);
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound("リソース " + name + " が見つかりません");
  SetImage(ReadPackedDib({static_cast<const uint8_t*>(bytes), SizeofResource(module, info)}));
}

void TBitmap::CopyMask(TBitmap& mask, const RECT& part, TColor colour) {
  const RECT all{0, 0, part.right - part.left, part.bottom - part.top};
  mask.SetMonochrome(true);
  mask.SetSize(all.right, all.bottom);
  if (mask.Empty() || Empty()) return;
  TCanvas& from = *Canvas();
  from.SetBackgroundColor(colour);
  const DWORD mode = mask.Canvas()->CopyMode;
  mask.Canvas()->CopyMode = SRCCOPY;
  mask.Canvas()->CopyRect(all, from, part);
  mask.Canvas()->CopyMode = mode;
}

TColor TBitmap::TransparentColor() {
  if (Empty()) return static_cast<TColor>(CLR_INVALID);
  return static_cast<TColor>(GetPixel(SurfaceDC(), 0, Height() - 1));
}

HDC TBitmap::SurfaceDC() {
  if (!dc_) {
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (!dc_) throw Exception("描画用のデバイスコンテキストを作成できません");
  }
  if (!surface_ && !image_.Empty()) {
    ReadStored();
    const DibInfo info = DescribeImage(image_);
    if (monochrome_) {
      surface_.Reset(CreateBitmap(image_.Width, image_.Height, 1, 1, nullptr));
      if (surface_ && !SetDIBits(dc_.Get(), surface_.Get(), 0, image_.Height, image_.Pixels.data(),
                                 AsBitmapInfo(info), DIB_RGB_COLORS))
        surface_.Reset();
    } else {
      surface_ = DibSectionOf(image_, &surfaceBits_);
    }
    if (!surface_)
      throw Exception("ビットマップを作成できません (" + std::to_string(image_.Width) + " x " +
                      std::to_string(image_.Height) + ")");
    dcDefaultBitmap_ = SelectObject(dc_.Get(), surface_.Get());
  }
  return dc_.Get();
}

void TBitmap::ReleaseSurface() {
  if (surface_) SelectObject(dc_.Get(), dcDefaultBitmap_);
  surface_.Reset();
  surfaceBits_ = nullptr;
  surfaceDrawnOn_ = false;
}

void TBitmap::ReadBackSurface() {
  if (!surfaceDrawnOn_ || !surface_) return;
  surfaceDrawnOn_ = false;
  GdiFlush();
  if (surfaceBits_) {
    std::memcpy(image_.Pixels.data(), surfaceBits_, image_.Pixels.size());
    return;
  }
  // GetDIBits wants the bitmap outside any device context.
  HDC dc = dc_.Get();
  SelectObject(dc, dcDefaultBitmap_);
  DibInfo info = DescribeImage(image_);
  GetDIBits(dc, surface_.Get(), 0, image_.Height, image_.Pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  SelectObject(dc, surface_.Get());
}

// TIcon

void TIcon::LoadFromData(std::span<const uint8_t> file) {
  IconHandle handle;
  int width = 0, height = 0;
  if (!file.empty()) {
    const IconFileImage first = ReadIconFile(file).front();
    handle.Reset(CreateIconFromResourceEx(const_cast<PBYTE>(first.Data.data()),
                                          static_cast<DWORD>(first.Data.size()), TRUE, 0x00030000,
                                          first.Width, first.Height, LR_DEFAULTCOLOR));
    if (!handle) throw EInvalidGraphic("アイコンを作成できません");
    width = first.Width;
    height = first.Height;
  }
  data_.assign(file.begin(), file.end());
  handle_ = std::move(handle);
  width_ = width;
  height_ = height;
  if (OnChange) OnChange();
}

void TIcon::Assign(const TIcon* source) {
  if (source == this) return;
  LoadFromData(source ? std::span<const uint8_t>(source->data_) : std::span<const uint8_t>());
}

namespace {

// BITMAP (a colour picture or a mask) with each pixel a SCALE × SCALE block.
BitmapHandle EnlargedBitmap(HBITMAP bitmap, int scale) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
  const int width = info.bmWidth * scale, height = info.bmHeight * scale;
  const ScreenDC screen;
  BitmapHandle enlarged(info.bmBitsPixel == 1 ? CreateBitmap(width, height, 1, 1, nullptr)
                                              : CreateCompatibleBitmap(screen.Dc(), width, height));
  MemoryDC from(CreateCompatibleDC(screen.Dc())), to(CreateCompatibleDC(screen.Dc()));
  if (!enlarged || !from || !to) return {};
  SelectObjectScope source(from.Get(), bitmap), target(to.Get(), enlarged.Get());
  SetStretchBltMode(to.Get(), COLORONCOLOR);
  StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  return enlarged;
}

}  // namespace

IconHandle TIcon::ForSize(int size, int scale) const {
  if (data_.empty()) return {};
  for (const IconFileImage& image : ReadIconFile(data_))
    if (image.Width == size && image.Height == size)
      return IconHandle(CreateIconFromResourceEx(const_cast<PBYTE>(image.Data.data()),
                                                 static_cast<DWORD>(image.Data.size()), TRUE,
                                                 0x00030000, size, size, LR_DEFAULTCOLOR));
  ICONINFO info{};
  if (!handle_ || !GetIconInfo(handle_.Get(), &info)) return {};
  const BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  const BitmapHandle bigColour = EnlargedBitmap(colour.Get(), scale);
  const BitmapHandle bigMask = EnlargedBitmap(mask.Get(), scale);
  if (!bigMask || (colour && !bigColour)) return {};
  ICONINFO enlarged{TRUE, 0, 0, bigMask.Get(), bigColour.Get()};
  return IconHandle(CreateIconIndirect(&enlarged));
}

IconHandle CreateOpaqueIcon(const Image& image) {
  void* bits = nullptr;
  BitmapHandle colour = image.Empty() ? BitmapHandle() : DibSectionOf(image, &bits);
  // A monochrome mask of zeros: every pixel shows the colour bitmap. Its rows are 16-bit aligned.
  const std::vector<uint8_t> zeros(static_cast<size_t>((image.Width + 15) / 16 * 2 * image.Height));
  BitmapHandle mask(colour ? CreateBitmap(image.Width, image.Height, 1, 1, zeros.data()) : nullptr);
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  IconHandle icon(mask ? CreateIconIndirect(&info) : nullptr);
  if (!icon) throw EInvalidGraphic("アイコンを作成できません");
  return icon;
}
