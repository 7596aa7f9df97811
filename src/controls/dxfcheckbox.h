#pragma once
// TdxfCheckBox: a focusable check box that paints itself completely, a glyph from the shared strip
// (or from two pictures of its own) and an optional caption beside it. Boxes of one parent with
// the same positive GroupIndex form a radio group.
#include <cstdint>

#include "controls/core/check_box_rules.h"
#include "framework/controls.h"
#include "framework/graphics.h"

enum class TdxfCBAlignment : uint8_t {
  taLeftJustify = 0,   // glyph at the right edge, caption at the left
  taRightJustify = 1,  // glyph at the left edge, caption to its right
};

class TdxfCheckBox : public TCustomControl {
 public:
  explicit TdxfCheckBox(TComponent* owner);
  ~TdxfCheckBox() override;

  bool Checked() const { return checked_; }
  // Follows the group rules; fires OnClick when the value differs (see FClickOnChange).
  void SetChecked(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TdxfCBAlignment Alignment() const { return alignment_; }
  void SetAlignment(TdxfCBAlignment value);
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  // The box's own pictures (empty: the strip's); the setters copy BITMAP.
  TBitmap* GlyphChecked() { return &glyphChecked_; }
  TBitmap* GlyphUnChecked() { return &glyphUnChecked_; }
  void SetCheckedBmp(TBitmap* bitmap);
  void SetUnCheckedBmp(TBitmap* bitmap);
  int32_t Style() const { return style_; }
  void SetStyle(int32_t value);

  // Sizes the box to its glyph and caption.
  void CalcSize();
  // Tells the other boxes of its parent that this one of its group was checked.
  void UpdateExclusive();

  // Toggles, fires OnClick once and takes the keyboard focus.
  void Click() override;
  void Paint() override;
  // Draws one glyph centred in RECT, its transparent colour (its bottom-left pixel's) showing
  // the canvas's brush. BITMAP is the strip (the cell of STATE in Style) or a whole picture.
  void DrawImage(TCanvas& canvas, const RECT& rect, int state, TBitmap& bitmap);

  void Dispatch(TMessage& message) override;
  void SetProperty(const std::string& name, const Value& value) override;

 protected:
  void CreateParamsFor(CreateParams& params) override;
  void WMEraseBkGnd(TMessage& message) override;
  void WMSetFocus(TMessage& message) override;
  void WMKillFocus(TMessage& message) override;
  void WMKeyUp(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  virtual void WMLButtonDblClk(TMessage& message);
  virtual void WMSize(TMessage& message);
  virtual void CMButtonPressed(TMessage& message);

 private:
  // The glyph's size as drawn: each of its pixels a Scale × Scale block.
  check_box::Size GlyphSize();
  // Copies BITMAP into GLYPH in a depth that drawing reads exactly (8 or 24 bits per pixel).
  void TakeGlyph(TBitmap& glyph, TBitmap* bitmap);

  bool checked_ = false;
  bool autoSize_ = true;
  TdxfCBAlignment alignment_ = TdxfCBAlignment::taRightJustify;
  int32_t groupIndex_ = 0;
  bool allowAllUp_ = true;
  TBitmap glyphChecked_;
  TBitmap glyphUnChecked_;
  int32_t style_ = 1;
  // While true, assigning Checked a new value fires OnClick; a click holds it back, because the
  // click fires OnClick itself.
  bool FClickOnChange = true;
};

// Registers TdxfCheckBox with the class registry.
void RegisterControlClasses();
