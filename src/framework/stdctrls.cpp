#include "framework/stdctrls.h"

#include <map>

// TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

SIZE MeasureText(TFont& font, const std::string& text) {
  ScreenDC screen;
  SelectObjectScope selected(screen.Dc(), font.Handle());
  SIZE size{0, 0};
  const std::wstring wide = Widen(text);
  if (!GetTextExtentPoint32W(screen.Dc(), wide.c_str(), static_cast<int>(wide.size()), &size))
    size = {0, 0};
  if (wide.empty()) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Dc(), &metrics);
    size.cy = metrics.tmHeight;
  }
  return size;
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  if (Parent() && !WindowHasShown()) return SetSizePending();
  ApplyPendingSize();
}

void TLabel::ApplyPendingSize() {
  const SIZE size = MeasureText(Font(), Caption());
  SetBounds(Left(), Top(), size.cx, size.cy);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::CMTextChanged(TMessage& m) {
  TGraphicControl::CMTextChanged(m);
  AdjustBounds();
  Invalidate();
}

void TLabel::CMFontChanged(TMessage& m) {
  TGraphicControl::CMFontChanged(m);
  AdjustBounds();
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  const RECT area = ClientRect();
  if (!transparent_) {
    canvas->Brush.Color = Color();
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->FillRect(area);
  }
  canvas->Brush.Style = TBrushStyle::bsClear;
  canvas->Font.Assign(Font());
  if (!Enabled()) canvas->Font.SetColor(clSystemColor | COLOR_GRAYTEXT);
  canvas->TextRect(area, 0, 0, Caption());
}

void TLabel::SetProperty(const std::string& name, const Value& value) {
  if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else if (name == "Transparent") {
    SetTransparent(BooleanValue(name, value));
  } else {
    TGraphicControl::SetProperty(name, value);
  }
}

// TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

void TEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TEdit::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustHeight();
}

void TEdit::SetBorderStyle(TEditBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  ApplyBorder();
  AdjustHeight();
}

void TEdit::SetCtl3D(bool value) {
  if (value == ctl3D_) return;
  ctl3D_ = value;
  ApplyBorder();
  AdjustHeight();
}

void TEdit::AdjustHeight() {
  if (!autoSize_ || Loading()) return;
  const int border = borderStyle_ == TEditBorderStyle::bsNone ? 0 : (ctl3D_ ? 4 : 1) * 2 + 2;
  SetHeight(MeasureText(Font(), "").cy + border);
}

void TEdit::Loaded() {
  TWinControl::Loaded();
  AdjustHeight();
}

void TEdit::CreateParamsFor(CreateParams& params) {
  TWinControl::CreateParamsFor(params);
  params.WinClassName = L"EDIT";
  params.Style |= ES_AUTOHSCROLL | ES_LEFT | (readOnly_ ? ES_READONLY : 0);
  if (borderStyle_ == TEditBorderStyle::bsSingle) {
    if (ctl3D_)
      params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      params.Style |= WS_BORDER;
  }
}

void TEdit::ApplyBorder() {
  if (!HandleAllocated()) return;
  // The system's edit class turns a plain border into a sunken 3-D frame while it is created,
  // so the border is set on the window once it exists.
  const HWND window = Handle();
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE) & ~LONG_PTR{WS_BORDER};
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_CLIENTEDGE};
  if (borderStyle_ == TEditBorderStyle::bsSingle) {
    if (ctl3D_)
      exStyle |= WS_EX_CLIENTEDGE;
    else
      style |= WS_BORDER;
  }
  SetWindowLongPtrW(window, GWL_STYLE, style);
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TEdit::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyBorder();
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  // The native class takes its text from the creation call; set it again in case it was
  // changed by the class (a text longer than the default limit).
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(Handle(), Widen(Caption()).c_str());
}

void TEdit::CMFontChanged(TMessage& m) {
  TWinControl::CMFontChanged(m);
  if (HandleAllocated())
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  AdjustHeight();
}

void TEdit::CMColorChanged(TMessage& m) {
  TWinControl::CMColorChanged(m);
  Invalidate();
}

void TEdit::CNCtlColor(TMessage& m) {
  const COLORREF colour = ColorToRGB(Color());
  if (!background_ || colour != backgroundFor_) {
    background_.Reset(CreateSolidBrush(colour));
    backgroundFor_ = colour;
  }
  auto dc = reinterpret_cast<HDC>(m.WParam);
  ::SetTextColor(dc, ColorToRGB(Font().Color()));
  SetBkColor(dc, colour);
  m.Result = reinterpret_cast<LRESULT>(background_.Get());
}

void TEdit::Dispatch(TMessage& m) {
  if (m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) return CNCtlColor(m);
  TWinControl::Dispatch(m);
}

void TEdit::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TEditBorderStyle> borderStyles = {
      {"bsNone", TEditBorderStyle::bsNone}, {"bsSingle", TEditBorderStyle::bsSingle}};
  if (name == "Text") {
    SetText(TextValue(name, value));
  } else if (name == "ReadOnly") {
    SetReadOnly(BooleanValue(name, value));
  } else if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else if (name == "BorderStyle") {
    SetBorderStyle(EnumValue(name, value, borderStyles));
  } else if (name == "Ctl3D") {
    SetCtl3D(BooleanValue(name, value));
  } else {
    TWinControl::SetProperty(name, value);
  }
}
