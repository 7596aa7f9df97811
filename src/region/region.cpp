#include "region/region.h"

#include <algorithm>
#include <string>

#include "framework/core/exception.h"
#include "framework/forms.h"
#include "region/core/region_data.h"

namespace {

// dest AND NOT source: clears every pixel where the mask has a 1.
constexpr DWORD kMaskOut = 0x00220326;

// The stored outline's region, stretched from PICTURE's size to CONTROL's (unless AUTOSIZE) and
// moved by (offsetX, offsetY). Null when the platform refuses it, or when the blob is malformed:
// that is checked here, because the platform would read as many rectangles as the header claims.
RegionHandle OutlineRegion(std::span<const uint8_t> data, const TBitmap& picture,
                           const TControl& control, bool autoSize, int offsetX, int offsetY) {
  try {
    ReadRegionData(data);
  } catch (const EConvertError&) {
    return {};
  }
  auto scale = [autoSize](int size, int pictureSize) {
    return autoSize ? 1.0f : static_cast<FLOAT>(static_cast<double>(size) / pictureSize);
  };
  XFORM transform{};
  transform.eM11 = scale(control.Width(), picture.Width());
  transform.eM22 = scale(control.Height(), picture.Height());
  transform.eDx = static_cast<FLOAT>(offsetX);
  transform.eDy = static_cast<FLOAT>(offsetY);
  return RegionHandle(ExtCreateRegion(&transform, static_cast<DWORD>(data.size()),
                                      reinterpret_cast<const RGNDATA*>(data.data())));
}

// PICTURE's outline. On failure PICTURE is emptied and CONTROL repainted at once before the error
// goes on to the caller.
std::vector<uint8_t> OutlineOrEmptyPicture(TControl& control, TBitmap& picture) {
  try {
    return BmpToRgnData(&picture);
  } catch (...) {
    picture.Assign(nullptr);
    control.Repaint();
    throw;
  }
}

// With AUTOSIZE and a picture of some size, that size replaces the requested one.
void FitToPicture(bool autoSize, const TBitmap& picture, int& width, int& height) {
  if (autoSize && picture.Width() > 0 && picture.Height() > 0) {
    width = picture.Width();
    height = picture.Height();
  }
}

}  // namespace

std::vector<uint8_t> BmpToRgnData(TBitmap* bitmap) {
  if (!bitmap) throw EInvalidGraphic("ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません");
  return BmpToRgnData(bitmap->EditImage());
}

// StoredOutline

void StoredOutline::Read(std::span<const uint8_t> data) {
  region_.Reset();
  data_.assign(data.begin(), data.end());
}

void StoredOutline::Update(const TControl& control, const TBitmap& picture,
                           const std::string& pictureName, bool autoSize, int offsetX, int offsetY,
                           const std::string& failure) {
  if (data_.empty()) throw Exception(control.Name() + " のﾘｰｼﾞｮﾝ情報がありません");
  if (picture.Empty())
    throw Exception(control.Name() + ":" + pictureName + " のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
  region_.Reset();
  region_ = OutlineRegion(data_, picture, control, autoSize, offsetX, offsetY);
  if (!region_) throw Exception(failure);
}

void StoredOutline::Destroy() {
  region_.Reset();
  data_ = {};
}

// TRgn

TRgn::TRgn(TComponent* owner) : TGraphicControl(owner) {
  // A frame tells a double click from two clicks: a character's file opens once.
  controlStyle_ |= csDoubleClicks;
  SetBounds(Left(), Top(), 105, 105);
}

void TRgn::SetRgnBmp(TBitmap* value) {
  if (value == &bitmap_) return;
  bitmap_.Assign(value);
  DestoryRgn();
  ForgetMask();
  outline_.Read(OutlineOrEmptyPicture(*this, bitmap_));
  if (Transparent) MakeMask();
}

void TRgn::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value && bitmap_.Width() > 0 && bitmap_.Height() > 0 && !Loading()) {
    SetBounds(Left(), Top(), bitmap_.Width(), bitmap_.Height());
    Invalidate();
  }
}

void TRgn::SetBounds(int left, int top, int width, int height) {
  FitToPicture(autoSize_, bitmap_, width, height);
  TGraphicControl::SetBounds(left, top, width, height);
}

void TRgn::ChangeScale(int scale) {
  if (scale == Scale()) return;
  TGraphicControl::ChangeScale(scale);
  if (RgnHandle()) UpdateRgn();
}

void TRgn::UpdateRgn() {
  outline_.Update(*this, bitmap_, "RgnBitmap", autoSize_, Left(), Top(),
                  "ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
}

void TRgn::DestoryRgn() { outline_.Destroy(); }

void TRgn::SetWndRgn() {
  TWinControl* parent = Parent();
  if (!parent) throw Exception("Parentが設定されていません");
  if (auto* form = dynamic_cast<TForm*>(parent)) {
    form->SetBorderStyle(TBorderStyle::bsNone);
    form->SetBrushStyle(TBrushStyle::bsClear);
  }
  Shown = true;
  Transparent = false;
  if (SetWindowRgn(parent->Handle(), outline_.Region(), FALSE)) outline_.ReleaseRegion();
}

void TRgn::MakeMask() {
  if (bitmap_.Empty()) return;
  const int width = bitmap_.Width(), height = bitmap_.Height();
  const RECT all{0, 0, width, height};
  TBitmap picture;
  picture.SetSize(width, height);
  picture.Canvas()->Draw(0, 0, bitmap_);
  const TColor key = picture.Canvas()->Pixel(0, height - 1);

  picture.CopyMask(mask_, all, key);

  maskedImage_.Assign(&picture);
  maskedImage_.Canvas()->CopyMode = kMaskOut;
  maskedImage_.Canvas()->CopyRect(all, *mask_.Canvas(), all);
  maskedImage_.Canvas()->CopyMode = SRCCOPY;
}

void TRgn::ForgetMask() {
  mask_.Assign(nullptr);
  maskedImage_.Assign(nullptr);
}

void TRgn::Loaded() {
  TGraphicControl::Loaded();
  if (Transparent) MakeMask();
  UpdateRgn();
}

void TRgn::Paint() {
  if (!Shown) return;
  TGraphicControl::Paint();
  if (bitmap_.Empty()) return;
  TCanvas& canvas = *Canvas();
  const RECT area = ClientRect();
  if (!Transparent) {
    canvas.StretchDraw(area, bitmap_);
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  // Transparent was switched on after the picture was set: the mask is made on first use.
  if (mask_.Empty() || maskedImage_.Empty()) MakeMask();
  const RECT maskArea{0, 0, mask_.Width(), mask_.Height()};
  work_.SetSize(Width(), Height());
  TCanvas& work = *work_.Canvas();
  work.CopyMode = SRCCOPY;
  work.CopyRect(area, canvas, area);
  work.CopyMode = SRCAND;
  work.CopyRect(area, *mask_.Canvas(), maskArea);
  work.CopyMode = SRCINVERT;
  work.CopyRect(area, *maskedImage_.Canvas(), maskArea);
  work.CopyMode = SRCCOPY;
  canvas.Draw(0, 0, work_);
}

void TRgn::SetProperty(const std::string& name, const Value& value) {
  if (name == "RgnBitmap.Data") {
    bitmap_.LoadFromProperty(BinaryValue(name, value), value.InPlace());
    ForgetMask();
  } else if (name == "RgnData") {
    ReadRgnData(BinaryValue(name, value));
  } else if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else if (name == "Transparent") {
    Transparent = BooleanValue(name, value);
  } else {
    TGraphicControl::SetProperty(name, value);
  }
}

// TRgnList

TRgnList::TRgnList(TComponent* owner) : TComponent(owner) {}

void TRgnList::Add(TRgn* frame) {
  selection_.push_back(frame);
  // A frame destroyed while selected leaves the selection.
  if (frame) frame->FreeNotification(this);
}

void TRgnList::Delete(TRgn* frame) {
  auto it = std::find(selection_.begin(), selection_.end(), frame);
  if (it != selection_.end()) selection_.erase(it);
}

TRgn* TRgnList::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  return selection_[index];
}

void TRgnList::SetWndRgn() {
  auto* window = dynamic_cast<TWinControl*>(Owner());
  if (!window) throw Exception(Name() + " の所有者がウィンドウではありません");
  RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
  others_.clear();
  for (TComponent* component : window->Components()) {
    auto* control = dynamic_cast<TGraphicControl*>(component);
    if (!control) continue;
    auto* frame = dynamic_cast<TRgn*>(control);
    if (!frame) {
      others_.push_back(control);
    } else if (std::find(selection_.begin(), selection_.end(), frame) == selection_.end()) {
      frame->Shown = false;
    } else {
      if (outline && frame->RgnHandle())
        CombineRgn(outline.Get(), outline.Get(), frame->RgnHandle(), RGN_OR);
      frame->BringToFront();
      frame->Shown = true;
    }
  }
  if (!outline) throw Exception("ﾘｰｼﾞｮﾝが合成できません．");
  if (auto* form = dynamic_cast<TForm*>(window)) {
    form->SetBorderStyle(TBorderStyle::bsNone);
    form->SetBrushStyle(TBrushStyle::bsClear);
  }
  for (TGraphicControl* control : others_) control->BringToFront();
  if (OnShowWnd) OnShowWnd(this);
  if (SetWindowRgn(window->Handle(), outline.Get(), TRUE)) outline.Release();
  if (AutoClear) selection_.clear();
}

void TRgnList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  std::erase(selection_, component);
  std::erase(others_, component);
}

void TRgnList::SetProperty(const std::string& name, const Value& value) {
  if (name == "AutoClear") {
    AutoClear = BooleanValue(name, value);
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TRgnList::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnShowWnd") {
    OnShowWnd = EventValue<TNotifyEvent>(name, handler);
  } else {
    TComponent::SetEvent(name, handler);
  }
}

// TRgnBtn

TRgnBtn::TRgnBtn(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), 25, 25);
  work_.Transparent = true;
}

TBitmap* TRgnBtn::GetGlyph(int index) {
  if (index < 1 || index > 3) ListIndexError(index);
  return &glyphs_[index - 1];
}

void TRgnBtn::SetGlyph(int index, TBitmap* bitmap) {
  TBitmap* glyph = GetGlyph(index);
  if (bitmap == glyph) return;
  glyph->Assign(bitmap);
  if (index != 1) return;
  DestroyRgn();
  outline_.Read(OutlineOrEmptyPicture(*this, *glyph));
}

void TRgnBtn::SetAutoSize(bool value) {
  // Unlike the frame, the button applies the size again even when the value is unchanged.
  autoSize_ = value;
  const TBitmap& glyph = glyphs_[0];
  if (value && glyph.Width() > 0 && glyph.Height() > 0 && !Loading()) {
    SetBounds(Left(), Top(), glyph.Width(), glyph.Height());
    Invalidate();
  }
}

void TRgnBtn::SetBounds(int left, int top, int width, int height) {
  FitToPicture(autoSize_, glyphs_[0], width, height);
  TGraphicControl::SetBounds(left, top, width, height);
}

void TRgnBtn::ChangeScale(int scale) {
  if (scale == Scale()) return;
  TGraphicControl::ChangeScale(scale);
  if (RgnHandle()) UpdateRgn();
}

void TRgnBtn::UpdateRgn() {
  outline_.Update(*this, glyphs_[0], "Glyph1", autoSize_, 0, 0, "ﾘｰｼﾞｮﾝが作成できません");
}

void TRgnBtn::DestroyRgn() { outline_.Destroy(); }

void TRgnBtn::Loaded() {
  TGraphicControl::Loaded();
  UpdateRgn();
}

void TRgnBtn::Paint() {
  TGraphicControl::Paint();
  int index = 1;
  if (!Enabled() && !glyphs_[2].Empty()) {
    index = 3;
  } else if (Enabled() && pressed_) {
    index = 2;
  }
  TBitmap& glyph = glyphs_[index - 1];
  if (glyph.Empty()) return;
  // The glyph is stretched to the button's size but cut to its own.
  work_.SetSize(glyph.Width(), glyph.Height());
  TCanvas& work = *work_.Canvas();
  work.CopyMode = SRCCOPY;
  work.CopyRect({0, 0, Width(), Height()}, *glyph.Canvas(), {0, 0, glyph.Width(), glyph.Height()});
  Canvas()->Draw(0, 0, work_);
}

void TRgnBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (outline_.Region() && PtInRegion(outline_.Region(), x, y)) {
    pressed_ = true;
    Invalidate();
  }
}

void TRgnBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (pressed_) {
    pressed_ = false;
    Invalidate();
  }
}

void TRgnBtn::SetProperty(const std::string& name, const Value& value) {
  static const std::string kGlyphs[] = {"Glyph1.Data", "Glyph2.Data", "Glyph3.Data"};
  auto glyph = std::find(std::begin(kGlyphs), std::end(kGlyphs), name);
  if (glyph != std::end(kGlyphs)) {
    glyphs_[glyph - std::begin(kGlyphs)].LoadFromProperty(BinaryValue(name, value),
                                                          value.InPlace());
  } else if (name == "RgnData") {
    ReadRgnData(BinaryValue(name, value));
  } else if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else {
    TGraphicControl::SetProperty(name, value);
  }
}

void RegisterRegionClasses() {
  RegisterComponentClass<TRgn>("TRgn");
  RegisterComponentClass<TRgnList>("TRgnList");
  RegisterComponentClass<TRgnBtn>("TRgnBtn");
}
