#pragma once
// The check box's rules that need no window: what assigning Checked does, which cell of the glyph
// strip a state shows, how Style is limited by the strip, and where glyph and caption go.
#include <cstdint>

namespace check_box {

// What an assignment of Checked does.
struct Assignment {
  bool Checked;      // the value held afterwards
  bool Changed;      // the value changed: repaint
  bool NotifyGroup;  // tell the other boxes of the group (the box is now checked in a group > 0)
  bool FireClick;    // run OnClick once
};

// Assigning VALUE to a box that holds OLD. A checked box of a group refuses to be unchecked when
// the group is negative, or positive without AllowAllUp; OnClick still fires whenever VALUE
// differs from OLD while CLICKONCHANGE is set and a handler is attached.
Assignment Assign(bool old, bool value, int32_t groupIndex, bool allowAllUp, bool clickOnChange,
                  bool hasOnClick);

// Whether a box that receives the group notification unchecks itself.
bool UnchecksOnGroupNotice(int32_t groupIndex, bool checked, bool isSender,
                           int32_t senderGroupIndex);

// The strip state shown: 0 unchecked, 1 checked, 2 unchecked disabled, 3 checked disabled.
int StripState(bool checked, bool enabled);
// The cell of the strip that a style's state lies in (cells are numbered from 0).
int64_t StripCell(int32_t style, int state);

// Style after assigning VALUE, with a strip of the given size whose square cells are as wide as
// it is high, four per style. Below 1 becomes 1; above the strip's number of styles becomes that
// number. A strip without height has no styles to count: only the lower limit holds.
int32_t LimitStyle(int32_t value, int32_t stripWidth, int32_t stripHeight);

struct Size {
  int32_t Width = 0, Height = 0;
  bool Empty() const { return Width == 0 || Height == 0; }
};

struct Rect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const Rect&) const = default;
};

// The glyph size of painting and auto size: the larger of the two glyphs, where an empty own
// glyph counts as one cell of the strip (the strip's height squared; nothing when the strip is
// empty).
Size GlyphSize(Size checkedGlyph, Size uncheckedGlyph, Size strip);

enum class Alignment : uint8_t { LeftJustify = 0, RightJustify = 1 };

// Where a box of W x H pixels paints its glyph of size GLYPH and its caption of size TEXT.
struct Layout {
  Rect Glyph;
  Rect Caption;  // the caption's rectangle before it shrinks by 1 for the text
};
Layout PlaceGlyphAndCaption(Alignment alignment, int32_t width, int32_t height, Size glyph,
                            Size text);

// Where a glyph of size PICTURE is drawn centred in AREA (it may stick out on every side).
Rect CentredIn(const Rect& area, Size picture);

// The size auto size gives: wide enough for the caption (CAPTIONWIDTH) and the glyph plus 4, as
// high as the glyph or as a line of text ("Wg", LINEHEIGHT) plus 2, whichever is higher. Sums
// that exceed the 32-bit range stop at its limit.
Size AutoSize(Size glyph, int32_t captionWidth, int32_t lineHeight);

}  // namespace check_box
