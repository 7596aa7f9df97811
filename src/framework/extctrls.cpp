#include "framework/extctrls.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "framework/core/exception.h"
#include "framework/core/guard.h"
#include "framework/core/scope_exit.h"
#include "framework/window.h"

// The platform timers behind the TTimers: one per interval, on one message-only window that
// exists while any timer runs.
class TimerHub {
 public:
  static void Start(TTimer* timer, unsigned interval) {
    Hub& hub = Instance();
    if (!hub.Window) {
      HiddenWindow::Params params;
      params.MessageOnly = true;
      hub.Window = std::make_unique<HiddenWindow>(params, [](TMessage& m) {
        if (m.Msg != WM_TIMER) return false;
        Tick(static_cast<unsigned>(m.WParam));
        return true;
      });
    }
    std::vector<TTimer*>& timers = hub.Timers[interval];
    if (timers.empty() && !SetTimer(hub.Window->Handle(), interval, interval, nullptr)) {
      hub.Timers.erase(interval);
      Release(hub);
      throw Exception("タイマーを作成できません");
    }
    timers.push_back(timer);
    timer->running_ = interval;
  }

  static void Stop(TTimer* timer) {
    if (!timer->running_) return;
    Hub& hub = Instance();
    auto it = hub.Timers.find(timer->running_);
    timer->running_ = 0;
    if (it == hub.Timers.end()) return;
    std::erase(it->second, timer);
    if (it->second.empty()) {
      KillTimer(hub.Window->Handle(), it->first);
      hub.Timers.erase(it);
    }
    Release(hub);
  }

 private:
  struct Hub {
    std::unique_ptr<HiddenWindow> Window;
    std::map<unsigned, std::vector<TTimer*>> Timers;
  };
  static Hub& Instance() {
    static Hub hub;
    return hub;
  }
  inline static uint64_t current_ = 0;
  friend uint64_t CurrentTimerTick();

  static void Release(Hub& hub) {
    if (hub.Timers.empty()) hub.Window.reset();
  }

  // Each timer's handler runs on its own: one that raises does not keep the others from ticking.
  // A handler may stop or free other timers; those of this tick not yet run then do not run.
  static void Tick(unsigned interval) {
    auto it = Instance().Timers.find(interval);
    if (it == Instance().Timers.end()) return;
    // A handler's message loop (an error box, a modal window) may run a tick of its own inside.
    static uint64_t ticks = 0;
    const uint64_t outer = std::exchange(current_, ++ticks);
    ScopeExit restore([outer] { current_ = outer; });
    // The timers due, copied as handlers may stop some: on the stack for the usual few, so that
    // a tick allocates nothing.
    std::array<TTimer*, 8> few;
    std::vector<TTimer*> many;
    std::span<TTimer* const> due;
    if (it->second.size() <= few.size()) {
      std::copy(it->second.begin(), it->second.end(), few.begin());
      due = std::span(few.data(), it->second.size());
    } else {
      many = it->second;
      due = many;
    }
    for (TTimer* timer : due) {
      auto now = Instance().Timers.find(interval);
      if (now == Instance().Timers.end()) return;
      if (std::find(now->second.begin(), now->second.end(), timer) == now->second.end()) continue;
      Guarded([timer] {
        if (timer->onTimer_) timer->onTimer_(timer);
      });
    }
  }
};

uint64_t CurrentTimerTick() { return TimerHub::current_; }

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() { TimerHub::Stop(this); }

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  TimerHub::Stop(this);
  if (enabled_ && interval_ != 0 && onTimer_ && !Loading()) TimerHub::Start(this, interval_);
}

void TTimer::SetProperty(const std::string& name, const Value& value) {
  if (name == "Enabled") {
    SetEnabled(BooleanValue(name, value));
  } else if (name == "Interval") {
    int32_t v = IntegerValue(name, value);
    if (v < 0) BadValue(name, value);
    SetInterval(static_cast<unsigned>(v));
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TTimer::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnTimer") {
    SetOnTimer(EventValue<TNotifyEvent>(name, handler));
  } else {
    TComponent::SetEvent(name, handler);
  }
}

// TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(TBitmap* picture) {
  picture_.Assign(picture);
  PictureChanged();
}

TCanvas* TImage::Canvas() {
  if (!picture_.Empty() && picture_.BitsPerPixel() != 24)
    picture_.SetImage(ToTrueColour(picture_.GetImage()));
  return picture_.Canvas();
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  PictureChanged();
}

void TImage::PictureChanged() {
  if (autoSize_ && !picture_.Empty())
    SetBounds(Left(), Top(), picture_.Width() * Scale(), picture_.Height() * Scale());
  Invalidate();
}

void TImage::Paint() {
  // Each pixel a Scale × Scale block.
  if (!picture_.Empty())
    TGraphicControl::Canvas()->StretchDraw(
        {0, 0, picture_.Width() * Scale(), picture_.Height() * Scale()}, picture_);
}

void TImage::SetProperty(const std::string& name, const Value& value) {
  if (name == "Picture.Data") {
    picture_.LoadFromProperty(BinaryValue(name, value), value.InPlace());
    PictureChanged();
  } else if (name == "AutoSize") {
    SetAutoSize(BooleanValue(name, value));
  } else {
    TGraphicControl::SetProperty(name, value);
  }
}

// TShape

TShape::TShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 65); }

void TShape::SetBrushColor(TColor value) {
  if (value == brushColor_) return;
  brushColor_ = value;
  Invalidate();
}

void TShape::SetBrushStyle(TBrushStyle value) {
  if (value == brushStyle_) return;
  brushStyle_ = value;
  Invalidate();
}

void TShape::SetPenColor(TColor value) {
  if (value == penColor_) return;
  penColor_ = value;
  Invalidate();
}

void TShape::SetPenStyle(TPenStyle value) {
  if (value == penStyle_) return;
  penStyle_ = value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* canvas = TGraphicControl::Canvas();
  const RECT area = ClientRect();
  canvas->Brush.Style = brushStyle_;
  canvas->Brush.Color = brushColor_;
  canvas->FillRect(area);
  if (penStyle_ == TPenStyle::psClear) return;
  BrushHandle pen(CreateSolidBrush(ColorToRGB(penColor_)));
  FrameRect(canvas->Handle(), &area, pen.Get());
}

void TShape::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TShapeType> shapes = {
      {"stRectangle", TShapeType::stRectangle}};
  static const std::map<std::string, TBrushStyle> brushStyles = {{"bsSolid", TBrushStyle::bsSolid},
                                                                 {"bsClear", TBrushStyle::bsClear}};
  static const std::map<std::string, TPenStyle> penStyles = {{"psSolid", TPenStyle::psSolid},
                                                             {"psClear", TPenStyle::psClear}};
  if (name == "Shape") {
    EnumValue(name, value, shapes);
  } else if (name == "Brush.Color") {
    SetBrushColor(ColorValue(name, value));
  } else if (name == "Brush.Style") {
    SetBrushStyle(EnumValue(name, value, brushStyles));
  } else if (name == "Pen.Color") {
    SetPenColor(ColorValue(name, value));
  } else if (name == "Pen.Style") {
    SetPenStyle(EnumValue(name, value, penStyles));
  } else {
    TGraphicControl::SetProperty(name, value);
  }
}

// TPanel

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Invalidate();
}

void TPanel::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  Invalidate();
}

void TPanel::Paint() {
  TCanvas* canvas = Canvas();
  RECT area = ClientRect();
  canvas->Brush.Style = TBrushStyle::bsSolid;
  canvas->Brush.Color = Color();
  canvas->FillRect(area);
  for (TBevelCut bevel : {bevelOuter_, bevelInner_}) {
    if (bevel == TBevelCut::bvNone) continue;
    DrawEdge(canvas->Handle(), &area,
             bevel == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  if (Caption().empty()) return;
  canvas->Font.Assign(Font());
  canvas->Brush.Style = TBrushStyle::bsClear;
  const SIZE size = canvas->TextExtent(Caption());
  canvas->TextRect(area, (area.left + area.right - size.cx) / 2,
                   (area.top + area.bottom - size.cy) / 2, Caption());
}

void TPanel::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TBevelCut> bevels = {{"bvNone", TBevelCut::bvNone},
                                                          {"bvLowered", TBevelCut::bvLowered},
                                                          {"bvRaised", TBevelCut::bvRaised}};
  if (name == "BevelOuter") {
    SetBevelOuter(EnumValue(name, value, bevels));
  } else if (name == "BevelInner") {
    SetBevelInner(EnumValue(name, value, bevels));
  } else {
    TCustomControl::SetProperty(name, value);
  }
}
