#include "controls/core/check_box_rules.h"

#include <algorithm>
#include <limits>

namespace check_box {

namespace {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

// Sums are taken in 64 bits and stop at the 32-bit limits.
int32_t Limited(int64_t value) { return static_cast<int32_t>(std::clamp(value, kMin, kMax)); }

Rect MakeRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return {Limited(left), Limited(top), Limited(right), Limited(bottom)};
}

}  // namespace

Assignment Assign(bool old, bool value, int32_t groupIndex, bool allowAllUp, bool clickOnChange,
                  bool hasOnClick) {
  Assignment result{old, false, false, false};
  const bool differs = value != old;
  if (differs && (groupIndex == 0 || !old || (groupIndex > 0 && allowAllUp) || value)) {
    result.Checked = value;
    result.Changed = true;
    result.NotifyGroup = groupIndex > 0 && value;
  }
  result.FireClick = clickOnChange && differs && hasOnClick;
  return result;
}

bool UnchecksOnGroupNotice(int32_t groupIndex, bool checked, bool isSender,
                           int32_t senderGroupIndex) {
  return groupIndex == senderGroupIndex && !isSender && checked;
}

int StripState(bool checked, bool enabled) { return (checked ? 1 : 0) + (enabled ? 0 : 2); }

int64_t StripCell(int32_t style, int state) { return (int64_t{style} - 1) * 4 + state; }

int32_t LimitStyle(int32_t value, int32_t stripWidth, int32_t stripHeight) {
  if (value < 1) value = 1;
  if (stripHeight <= 0) return value;
  const int64_t styles = int64_t{stripWidth} / (int64_t{stripHeight} * 4);
  if (styles < value) value = static_cast<int32_t>(styles);
  return value;
}

Size GlyphSize(Size checkedGlyph, Size uncheckedGlyph, Size strip) {
  // The strip's cells are square: as wide as the strip is high.
  const int32_t cell = std::max(strip.Height, 0);
  Size glyph;
  auto take = [](int32_t& into, int32_t candidate) {
    if (candidate > into) into = candidate;
  };
  take(glyph.Height, checkedGlyph.Empty() ? cell : checkedGlyph.Height);
  take(glyph.Height, uncheckedGlyph.Empty() ? cell : uncheckedGlyph.Height);
  take(glyph.Width, checkedGlyph.Empty() ? cell : checkedGlyph.Width);
  take(glyph.Width, uncheckedGlyph.Empty() ? cell : uncheckedGlyph.Width);
  return glyph;
}

Layout PlaceGlyphAndCaption(Alignment alignment, int32_t width, int32_t height, Size glyph,
                            Size text) {
  const int64_t w = width, h = height, gw = glyph.Width, gh = glyph.Height;
  const int64_t tw = text.Width, th = text.Height;
  const int64_t t = (h - gh) / 2, c = (h - th) / 2;  // halvings truncate toward zero
  Layout layout;
  if (alignment == Alignment::RightJustify) {
    layout.Glyph = MakeRect(0, t, gw, t + gh);
    layout.Caption = MakeRect(gw + 2, std::max<int64_t>(c - 1, 0), std::min(gw + tw + 6, w),
                              std::min(c + th + 1, h));
  } else {
    layout.Glyph = MakeRect(w - gw, t, w, t + gh);
    layout.Caption = MakeRect(0, std::max<int64_t>(c - 2, 0), std::min(tw + 2, w - gw - 2),
                              std::min(c + th + 2, h));
  }
  return layout;
}

Rect CentredIn(const Rect& area, Size picture) {
  const int64_t width = int64_t{area.Right} - area.Left, height = int64_t{area.Bottom} - area.Top;
  const int64_t left = area.Left + (width - picture.Width) / 2;
  const int64_t top = area.Top + (height - picture.Height) / 2;
  return MakeRect(left, top, left + picture.Width, top + picture.Height);
}

Size AutoSize(Size glyph, int32_t captionWidth, int32_t lineHeight) {
  const int64_t line = int64_t{lineHeight} + 2;
  return {Limited(int64_t{captionWidth} + glyph.Width + 4),
          Limited(glyph.Height < line ? line : glyph.Height)};
}

}  // namespace check_box
