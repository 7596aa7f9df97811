#include "controls/dxfcheckbox.h"

#include <algorithm>
#include <map>

#include "controls/dxfres.h"
#include "framework/core/bmp_file.h"

namespace {

// DSPDxax: the brush where the (monochrome) source is 1, the destination where it is 0.
constexpr DWORD kBrushWhereMaskIsSet = 0x00E20746;

RECT ToRect(const check_box::Rect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
check_box::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
check_box::Size SizeOf(const TBitmap& bitmap) { return {bitmap.Width(), bitmap.Height()}; }

// Own glyphs are kept at 8 or 24 bits per pixel: there the transparent colour read from a pixel
// is exactly the colour that copies compare with.
void NormaliseGlyph(TBitmap& glyph) {
  if (glyph.Monochrome()) glyph.SetMonochrome(false);
  const uint16_t bits = glyph.BitsPerPixel();
  if (!glyph.Empty() && bits != 8 && bits != 24) NormalizePixelFormat(glyph.EditImage());
}

// Clears a flag for one scope and sets it again at its end, also on an exception.
class HeldBack {
 public:
  explicit HeldBack(bool& flag) : flag_(flag) { flag_ = false; }
  ~HeldBack() { flag_ = true; }
  HeldBack(const HeldBack&) = delete;
  HeldBack& operator=(const HeldBack&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TdxfCheckBox::TdxfCheckBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 100, 17);
  SetChecked(false);
  SetTabStop(true);
  // Alignment, AutoSize and AllowAllUp start as declared; the glyphs start empty.
  SetStyle(1);
  FClickOnChange = true;
}

TdxfCheckBox::~TdxfCheckBox() = default;

void TdxfCheckBox::SetChecked(bool value) {
  const check_box::Assignment a = check_box::Assign(checked_, value, groupIndex_, allowAllUp_,
                                                    FClickOnChange, static_cast<bool>(OnClick));
  if (a.Changed) {
    checked_ = a.Checked;
    Invalidate();
    if (a.NotifyGroup) UpdateExclusive();
  }
  if (a.FireClick) OnClick(this);
}

void TdxfCheckBox::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value) CalcSize();
}

void TdxfCheckBox::SetAlignment(TdxfCBAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TdxfCheckBox::SetGroupIndex(int32_t value) { groupIndex_ = value; }

void TdxfCheckBox::SetAllowAllUp(bool value) { allowAllUp_ = value; }

void TdxfCheckBox::TakeGlyph(TBitmap& glyph, TBitmap* bitmap) {
  if (bitmap != &glyph) {
    glyph.Assign(bitmap);
    NormaliseGlyph(glyph);
  }
  if (autoSize_) CalcSize();
  Invalidate();
}

void TdxfCheckBox::SetCheckedBmp(TBitmap* bitmap) { TakeGlyph(glyphChecked_, bitmap); }

void TdxfCheckBox::SetUnCheckedBmp(TBitmap* bitmap) { TakeGlyph(glyphUnChecked_, bitmap); }

void TdxfCheckBox::SetStyle(int32_t value) {
  const TBitmap& strip = dxfRes::CBBmp();
  style_ = check_box::LimitStyle(value, strip.Width(), strip.Height());
  Invalidate();
}

check_box::Size TdxfCheckBox::GlyphSize() {
  const check_box::Size glyph =
      check_box::GlyphSize(SizeOf(glyphChecked_), SizeOf(glyphUnChecked_), SizeOf(dxfRes::CBBmp()));
  return {glyph.Width * Scale(), glyph.Height * Scale()};
}

void TdxfCheckBox::CalcSize() {
  TCanvas& canvas = *Canvas();
  canvas.Font.Assign(Font());
  const check_box::Size size =
      check_box::AutoSize(GlyphSize(), canvas.TextWidth(Caption()), canvas.TextHeight("Wg"));
  SetWidth(size.Width);
  SetHeight(size.Height);
}

void TdxfCheckBox::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  TMessage notice{CM_BUTTONPRESSED, static_cast<WPARAM>(static_cast<intptr_t>(groupIndex_)),
                  reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(notice);
}

void TdxfCheckBox::CMButtonPressed(TMessage& m) {
  const auto senderGroup = static_cast<int32_t>(static_cast<intptr_t>(m.WParam));
  const bool isSender = m.LParam == reinterpret_cast<LPARAM>(this);
  if (!check_box::UnchecksOnGroupNotice(groupIndex_, checked_, isSender, senderGroup)) return;
  checked_ = false;
  Invalidate();
}

void TdxfCheckBox::Click() {
  {
    HeldBack held(FClickOnChange);
    SetChecked(!checked_);
  }
  TCustomControl::Click();
  // A box without a window (no parent yet) has nothing to focus.
  if (HandleAllocated()) ::SetFocus(Handle());
}

void TdxfCheckBox::Paint() {
  TCanvas& target = *Canvas();
  // Only the part that the window shows is composed: a box may be far larger than any screen
  // (a long caption, a large glyph), and what lies outside its clip box is never seen.
  RECT area{0, 0, Width(), Height()}, clip;
  const int clipKind = GetClipBox(target.Handle(), &clip);
  if (clipKind == NULLREGION) return;
  if (clipKind != ERROR && !IntersectRect(&area, &area, &clip)) return;
  if (IsRectEmpty(&area)) return;
  const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;

  TBitmap& draw = dxfRes::DrawBmp();
  if (draw.Width() < areaWidth || draw.Height() < areaHeight)
    draw.SetSize(std::max(draw.Width(), areaWidth), std::max(draw.Height(), areaHeight));
  TCanvas& canvas = *draw.Canvas();
  {
    // Composed in the box's own coordinates.
    SavedDC saved(canvas.Handle());
    SetViewportOrgEx(canvas.Handle(), -area.left, -area.top, nullptr);
    canvas.Brush.Color = Color();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    const RECT client = ClientRect();
    canvas.FillRect(client);

    const std::string& caption = Caption();
    canvas.Font.Assign(Font());
    const SIZE text = canvas.TextExtent(caption);
    const check_box::Layout layout =
        check_box::PlaceGlyphAndCaption(static_cast<check_box::Alignment>(alignment_), Width(),
                                        Height(), GlyphSize(), {text.cx, text.cy});

    TBitmap& own = checked_ ? glyphChecked_ : glyphUnChecked_;
    TBitmap& strip = dxfRes::CBBmp();
    if (!own.Empty()) {
      DrawImage(canvas, ToRect(layout.Glyph), 0, own);
    } else if (!strip.Empty()) {
      DrawImage(canvas, ToRect(layout.Glyph), check_box::StripState(checked_, Enabled()), strip);
    }

    RECT c = ToRect(layout.Caption);
    InflateRect(&c, -1, -1);
    if (!caption.empty() && !IsRectEmpty(&c)) {
      canvas.Brush.Style = TBrushStyle::bsClear;
      if (Enabled()) {
        canvas.TextRect(c, c.left, c.top, caption);
      } else {
        // Embossed: a white copy one pixel down and right, grey on top.
        canvas.Font.SetColor(clWhite);
        canvas.TextRect(c, c.left + 1, c.top + 1, caption);
        canvas.Font.SetColor(0x808080);
        canvas.TextRect(c, c.left, c.top, caption);
      }
      canvas.Brush.Style = TBrushStyle::bsSolid;
    }
    InflateRect(&c, 1, 1);
    if (Focused() && !caption.empty() && !IsRectEmpty(&c)) canvas.DrawFocusRect(c);
  }
  target.CopyMode = SRCCOPY;
  target.CopyRect(area, canvas, {0, 0, areaWidth, areaHeight});
}

void TdxfCheckBox::DrawImage(TCanvas& canvas, const RECT& rect, int state, TBitmap& bitmap) {
  // The picture T: the state's cell of the strip, or the whole bitmap.
  RECT source{0, 0, bitmap.Width(), bitmap.Height()};
  if (&bitmap == &dxfRes::CBBmp()) {
    const int64_t side = bitmap.Height();
    const int64_t left = side * check_box::StripCell(style_, state);
    if (left < 0 || left + side > bitmap.Width()) return;  // the strip has no such cell
    source = {static_cast<LONG>(left), 0, static_cast<LONG>(left + side), static_cast<LONG>(side)};
  }
  if (IsRectEmpty(&source)) return;
  // T's transparent colour is its bottom-left pixel's.
  const TColor key = bitmap.Canvas()->Pixel(source.left, source.bottom - 1);
  // At a larger scale T is each of its pixels a Scale × Scale block.
  TBitmap enlarged;
  TBitmap* picked = &bitmap;
  if (const int k = Scale(); k > 1) {
    const RECT all{0, 0, (source.right - source.left) * k, (source.bottom - source.top) * k};
    enlarged.SetSize(all.right, all.bottom);
    enlarged.Canvas()->CopyRect(all, *bitmap.Canvas(), source);
    picked = &enlarged;
    source = all;
  }
  const RECT place = ToRect(check_box::CentredIn(
      FromRect(rect), {source.right - source.left, source.bottom - source.top}));

  // Only the part of RECT on the canvas's surface is drawn; GDI would cut the rest anyway.
  RECT visible = rect, clip;
  if (GetClipBox(canvas.Handle(), &clip) != ERROR && !IntersectRect(&visible, &rect, &clip)) return;
  if (IsRectEmpty(&visible)) return;
  const RECT scratchArea{0, 0, visible.right - visible.left, visible.bottom - visible.top};
  TBitmap scratch;
  scratch.SetSize(scratchArea.right, scratchArea.bottom);
  TCanvas& work = *scratch.Canvas();
  work.Brush.Color = canvas.Brush.Color;
  work.Brush.Style = TBrushStyle::bsSolid;
  work.FillRect(scratchArea);

  RECT shown;
  if (IntersectRect(&shown, &place, &visible)) {
    const int width = shown.right - shown.left, height = shown.bottom - shown.top;
    const RECT all{0, 0, width, height};
    const RECT part{source.left + shown.left - place.left, source.top + shown.top - place.top,
                    source.left + shown.right - place.left, source.top + shown.bottom - place.top};
    const RECT dest{shown.left - visible.left, shown.top - visible.top, shown.right - visible.left,
                    shown.bottom - visible.top};
    // T's part as true colours, so that its mask compares colours, not palette entries.
    TBitmap picture, mask;
    picture.SetSize(width, height);
    picture.Canvas()->CopyRect(all, *picked->Canvas(), part);
    picture.CopyMask(mask, all, key);
    work.CopyMode = SRCCOPY;
    work.CopyRect(dest, *picture.Canvas(), all);
    work.SetTextColor(clBlack);
    work.SetBackgroundColor(clWhite);
    work.CopyMode = kBrushWhereMaskIsSet;
    work.CopyRect(dest, *mask.Canvas(), all);
  }
  const DWORD mode = canvas.CopyMode;
  canvas.CopyMode = SRCCOPY;
  canvas.CopyRect(visible, work, scratchArea);
  canvas.CopyMode = mode;
}

void TdxfCheckBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
      return WMLButtonDblClk(m);
    case WM_SIZE:
      return WMSize(m);
    case CM_BUTTONPRESSED:
      return CMButtonPressed(m);
    default:
      return TCustomControl::Dispatch(m);
  }
}

void TdxfCheckBox::CreateParamsFor(CreateParams& params) {
  TCustomControl::CreateParamsFor(params);
  params.WinClassName = L"TdxfCheckBox";
}

void TdxfCheckBox::WMLButtonDblClk(TMessage& m) {
  // The framework takes the second press of a double click as no click of its own, so the
  // release that follows toggles nothing: with the first press's click, two toggles in all.
  TCustomControl::Dispatch(m);
  Click();
}

void TdxfCheckBox::WMSize(TMessage& m) {
  TCustomControl::Dispatch(m);
  Invalidate();
}

void TdxfCheckBox::WMEraseBkGnd(TMessage& m) { m.Result = 1; }

void TdxfCheckBox::WMSetFocus(TMessage& m) {
  Invalidate();
  TCustomControl::WMSetFocus(m);
}

void TdxfCheckBox::WMKillFocus(TMessage& m) {
  Invalidate();
  TCustomControl::WMKillFocus(m);
}

void TdxfCheckBox::WMKeyUp(TMessage& m) {
  TCustomControl::WMKeyUp(m);
  if (m.Msg == WM_KEYUP && m.WParam == VK_SPACE) Click();
}

void TdxfCheckBox::CMEnabledChanged(TMessage& m) {
  TCustomControl::CMEnabledChanged(m);
  Invalidate();
}

void TdxfCheckBox::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  if (HandleAllocated() && autoSize_) CalcSize();
  Invalidate();
}

void TdxfCheckBox::CMFontChanged(TMessage& m) {
  TCustomControl::CMFontChanged(m);
  if (autoSize_) CalcSize();
  Invalidate();
}

void TdxfCheckBox::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TdxfCBAlignment> alignments = {
      {"taLeftJustify", TdxfCBAlignment::taLeftJustify},
      {"taRightJustify", TdxfCBAlignment::taRightJustify}};
  if (name == "Checked") {
    SetChecked(BooleanValue(name, value));
  } else if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else if (name == "Alignment") {
    SetAlignment(EnumValue(name, value, alignments));
  } else if (name == "GroupIndex") {
    SetGroupIndex(IntegerValue(name, value));
  } else if (name == "AllowAllUp") {
    SetAllowAllUp(BooleanValue(name, value));
  } else if (name == "Style") {
    SetStyle(IntegerValue(name, value));
  } else if (name == "GlyphChecked.Data" || name == "GlyphUnChecked.Data") {
    TBitmap& glyph = name == "GlyphChecked.Data" ? glyphChecked_ : glyphUnChecked_;
    glyph.LoadFromProperty(BinaryValue(name, value));
    NormaliseGlyph(glyph);
    Invalidate();
  } else {
    TCustomControl::SetProperty(name, value);
  }
}

void RegisterControlClasses() { RegisterComponentClass<TdxfCheckBox>("TdxfCheckBox"); }
