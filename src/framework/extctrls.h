#pragma once
// TTimer, and the controls TImage, TShape and TPanel.
//
// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled.
//
// Timers of one interval share one platform timer and tick together, in the order they were
// started: the program wakes once a period however many timers it runs (under Wine every wake-up
// costs round trips to its server, and four walkers' timers apart would wake it four times every
// 50 ms). A timer started while others of its interval run ticks first with them, so within one
// interval rather than after exactly one.
#include <cstdint>

#include "framework/classes.h"
#include "framework/controls.h"
#include "framework/graphics.h"

// The number of the shared tick whose handlers are running (each tick of the shared timers has a
// new one); 0 outside one. Lets the handlers of one tick share work, such as reading the pointer.
uint64_t CurrentTimerTick();

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  void SetOnTimer(TNotifyEvent handler);

  void Loaded() override;
  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;

 private:
  friend class TimerHub;
  void UpdateTimer();

  TNotifyEvent onTimer_;
  unsigned running_ = 0;  // the interval it ticks at now; 0 while stopped
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

// A picture drawn on its parent's surface at the control's top-left corner, each pixel a block of
// Scale × Scale; with AutoSize the control takes the picture's size at that scale.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);

  TBitmap* Picture() { return &picture_; }
  // Copies PICTURE (null empties it).
  void SetPicture(TBitmap* picture);
  // Draws into the picture (not onto the screen): what is drawn shows at the next paint, at once
  // after Refresh. A palette picture becomes a true-colour one first, so drawn colours stay
  // exact.
  TCanvas* Canvas();
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  void Paint() override;
  void SetProperty(const std::string& name, const Value& value) override;

 private:
  void PictureChanged();

  TBitmap picture_;
  bool autoSize_ = false;
};

enum class TShapeType { stRectangle };
enum class TPenStyle { psSolid, psClear };

// A rectangle filled with its brush, outlined with a one-pixel pen unless the pen is clear.
class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* owner);

  TShapeType Shape() const { return TShapeType::stRectangle; }
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor value);
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle value);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor value);
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenStyle(TPenStyle value);

  void Paint() override;
  void SetProperty(const std::string& name, const Value& value) override;

 private:
  TColor brushColor_ = clWhite;
  TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
  TColor penColor_ = clBlack;
  TPenStyle penStyle_ = TPenStyle::psSolid;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A windowed container filled with its colour, with an optional outer and inner bevel and a
// centred caption; the controls on it are drawn inside it.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* owner);

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);

  void Paint() override;
  void SetProperty(const std::string& name, const Value& value) override;

 protected:
  void CMTextChanged(TMessage& message) override;

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
};
