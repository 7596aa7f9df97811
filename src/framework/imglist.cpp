#include "framework/imglist.h"

#include <algorithm>

#include "framework/core/exception.h"

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  for (TChangeLink* link : links_) link->sender_ = nullptr;
}

void TImageList::SetWidth(int value) {
  if (value == width_) return;
  if (value < 1 || value > kMaxSide) throw EInvalidGraphic(Name() + ": 画像の幅が不正です");
  width_ = value;
  Clear();
}

void TImageList::SetHeight(int value) {
  if (value == height_) return;
  if (value < 1 || value > kMaxSide) throw EInvalidGraphic(Name() + ": 画像の高さが不正です");
  height_ = value;
  Clear();
}

int TImageList::Add(const Image& picture) {
  if (picture.Width != width_ || picture.Height != height_)
    throw EInvalidGraphic(Name() + ": 画像の大きさがリストと違います");
  CutStoredStrip();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetImage(picture);
  pictures_.push_back(std::move(bitmap));
  Change();
  return Count() - 1;
}

void TImageList::Delete(int index) {
  Picture(index);
  pictures_.erase(pictures_.begin() + index);
  Change();
}

void TImageList::Clear() {
  if (Count() == 0) return;
  pictures_.clear();
  strip_.Assign(nullptr);
  Change();
}

TBitmap& TImageList::Picture(int index) {
  if (index < 0 || index >= Count()) ListIndexError(index);
  CutStoredStrip();
  return *pictures_[static_cast<size_t>(index)];
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index) {
  TBitmap& picture = Picture(index);
  if (masked_ && bkColor_ != clNone) {
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Color = bkColor_;
    canvas->FillRect({x, y, x + width_, y + height_});
  }
  picture.Transparent = masked_;
  canvas->Draw(x, y, picture);
}

void TImageList::AddStrip(const Image& strip) {
  if (strip.Empty()) return;
  CheckStrip(strip.Width, strip.Height);
  CutStoredStrip();
  CutStrip(strip);
  Change();
}

void TImageList::CheckStrip(int width, int height) const {
  if (height != height_ || width % width_ != 0)
    throw EInvalidGraphic(Name() + ": 画像の大きさがリストと違います");
}

void TImageList::CutStrip(const Image& strip) {
  std::vector<std::unique_ptr<TBitmap>> cut;
  for (int left = 0; left < strip.Width; left += width_) {
    Image picture = Image::Create(width_, height_, 24);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) picture.SetColour(x, y, strip.Colour(left + x, y));
    cut.push_back(std::make_unique<TBitmap>());
    cut.back()->SetImage(std::move(picture));
  }
  for (auto& picture : cut) pictures_.push_back(std::move(picture));
}

void TImageList::CutStoredStrip() {
  if (StripCount() == 0) return;
  CutStrip(strip_.GetImage());
  strip_.Assign(nullptr);
}

IconHandle TImageList::GetIcon(int index, int width, int height) {
  TBitmap frame;
  frame.SetImage(Image::Create(width, height, 24));
  Draw(frame.Canvas(), 0, 0, index);
  return CreateOpaqueIcon(frame.GetImage());
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (link->sender_ == this) return;
  if (link->sender_) link->sender_->UnRegisterChanges(link);
  link->sender_ = this;
  links_.push_back(link);
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  if (link->sender_ != this) return;
  link->sender_ = nullptr;
  std::erase(links_, link);
}

void TImageList::Change() {
  // A link's handler may unregister links, or free them: walk a copy, and call only those that are
  // still registered.
  const std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnChange)
      link->OnChange();
}

void TImageList::SetProperty(const std::string& name, const Value& value) {
  if (name == "Width") {
    SetWidth(IntegerValue(name, value));
  } else if (name == "Height") {
    SetHeight(IntegerValue(name, value));
  } else if (name == "Bitmap.Data") {
    CutStoredStrip();
    strip_.LoadFromProperty(BinaryValue(name, value), value.InPlace());
    try {
      if (!strip_.Empty()) CheckStrip(strip_.Width(), strip_.Height());
    } catch (...) {
      strip_.Assign(nullptr);
      throw;
    }
    if (StripCount() > 0) Change();
  } else if (name == "Masked") {
    SetMasked(BooleanValue(name, value));
  } else if (name == "BkColor") {
    SetBkColor(ColorValue(name, value));
  } else {
    TComponent::SetProperty(name, value);
  }
}
