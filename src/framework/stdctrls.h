#pragma once
// Standard controls: labels (text drawn by the parent) and single-line edit fields.
#include <string>

#include "framework/controls.h"

// A text drawn on its parent's surface, in its font and font colour. Transparent, only the text
// is drawn; with AutoSize it takes the size of its text.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  void Paint() override;
  void SetProperty(const std::string& name, const Value& value) override;
  void Loaded() override;

 protected:
  void CMTextChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void ApplyPendingSize() override;

 private:
  void AdjustBounds();

  bool autoSize_ = true;
  bool transparent_ = false;
};

// The size of TEXT written in FONT (on the screen's device context).
SIZE MeasureText(TFont& font, const std::string& text);

enum class TEditBorderStyle { bsNone, bsSingle };

// A single-line edit field over the system's EDIT window: whole Unicode text, the control's
// background and font colours, an optional flat one-pixel border. Disabled, the system greys its
// text and it cannot be selected.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);

  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& value) { SetCaption(value); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // With AutoSize the height follows the font.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TEditBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TEditBorderStyle value);
  // A sunken 3-D frame; without, the border is one flat line.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);

  void Dispatch(TMessage& message) override;
  void SetProperty(const std::string& name, const Value& value) override;
  void Loaded() override;

 protected:
  void CreateParamsFor(CreateParams& params) override;
  void CreateWnd() override;
  void CMFontChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  // The system's edit class paints itself, background included.
  void WMPaint(TMessage& message) override { DefaultHandler(message); }
  void WMEraseBkGnd(TMessage& message) override { DefaultHandler(message); }

 private:
  void AdjustHeight();
  void ApplyBorder();
  // WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC from the parent: the field's colours.
  void CNCtlColor(TMessage& message);

  bool readOnly_ = false;
  bool autoSize_ = true;
  TEditBorderStyle borderStyle_ = TEditBorderStyle::bsSingle;
  bool ctl3D_ = true;
  BrushHandle background_;
  COLORREF backgroundFor_ = CLR_INVALID;
};
