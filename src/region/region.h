#pragma once
// Shaped-window components. TRgn is one animation frame of a shaped window: its picture, the
// outline stored with it (region data, see region/core/region_data.h) and the region made from
// that outline at load. TRgnList shows the frames chosen for a window and gives the window their
// outline. TRgnBtn is a push button drawn from three pictures whose pressed look answers only
// presses on its figure.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/controls.h"
#include "framework/graphics.h"

// The outline blob of BITMAP's pixels that differ from its bottom-left one. Normalises BITMAP's
// pixel format in place. EInvalidGraphic when BITMAP is null or empty, and the errors of the
// core's BmpToRgnData.
std::vector<uint8_t> BmpToRgnData(TBitmap* bitmap);

// The outline a region component keeps: the stored blob as read or made, and the region built
// from it.
class StoredOutline {
 public:
  // The stored outline: the bytes as read, or none when empty. A region is always made from the
  // current outline, so the old one goes.
  void Read(std::span<const uint8_t> data);
  const std::vector<uint8_t>& Data() const { return data_; }
  // Builds the region, stretched from PICTURE's size to CONTROL's (unless AUTOSIZE) and moved by
  // (offsetX, offsetY). Exceptions with the owner's name when there is no outline or no picture
  // (PICTURENAME), FAILURE when the platform refuses the outline.
  void Update(const TControl& control, const TBitmap& picture, const std::string& pictureName,
              bool autoSize, int offsetX, int offsetY, const std::string& failure);
  // Releases region and outline.
  void Destroy();
  HRGN Region() const { return region_.Get(); }
  HRGN ReleaseRegion() { return region_.Release(); }

 private:
  std::vector<uint8_t> data_;
  RegionHandle region_;
};

class TRgn : public TGraphicControl {
 public:
  explicit TRgn(TComponent* owner);

  // The frame's picture (the frame keeps it); SetRgnBmp copies VALUE into it and makes its
  // outline. The frame then has no region until UpdateRgn.
  TBitmap* RgnBitmap() { return &bitmap_; }
  void SetRgnBmp(TBitmap* value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Paint with the picture's key colour (its bottom-left pixel's) see-through.
  bool Transparent = false;
  // The frame paints only while set. Independent of Visible: TRgnList and SetWndRgn write it.
  bool Shown = true;
  // The outline in the parent's client coordinates, as of the last UpdateRgn; null if none.
  HRGN RgnHandle() const { return outline_.Region(); }

  // The stored outline: the bytes as read, or none when empty.
  void ReadRgnData(std::span<const uint8_t> data) { outline_.Read(data); }
  std::vector<uint8_t> WriteRgnData() const { return outline_.Data(); }
  // Builds the region from the stored outline, scaled to the frame's size (unless AutoSize) and
  // placed at its position in the parent.
  void UpdateRgn();
  // Releases region and outline.
  void DestoryRgn();
  // Gives the parent window the frame's outline; the window owns the region from then on.
  void SetWndRgn();
  // The mask (1 where the picture has its key colour) and the picture with those pixels black,
  // which transparent painting needs.
  void MakeMask();

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void Paint() override;
  bool Paints() const override { return Shown && !bitmap_.Empty(); }
  void SetProperty(const std::string& name, const Value& value) override;

 private:
  void ForgetMask();

  TBitmap bitmap_;
  TBitmap work_;         // scratch surface of transparent painting
  TBitmap maskedImage_;  // the picture with every key-coloured pixel black
  TBitmap mask_;         // monochrome: 1 where the picture has the key colour
  bool autoSize_ = false;
  StoredOutline outline_;
};

// Selects frames of its owner window and applies the selection: the window's outline becomes
// the union of the selected frames' outlines, those frames are shown and brought to the front,
// the owner's other frames are hidden, and its other graphic controls go above all frames.
class TRgnList : public TComponent {
 public:
  explicit TRgnList(TComponent* owner);

  void Add(TRgn* frame);     // no check for duplicates
  void Delete(TRgn* frame);  // the first occurrence, if any
  int GetCount() const { return static_cast<int>(selection_.size()); }
  TRgn* GetItem(int index) const;  // EListError outside 0..count-1
  void Clear() { selection_.clear(); }
  void SetWndRgn();

  bool AutoClear = true;   // empty the selection after each application
  TNotifyEvent OnShowWnd;  // just before the window receives its new outline

  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TRgn*> selection_;
  std::vector<TGraphicControl*> others_;  // rebuilt by every application
};

class TRgnBtn : public TGraphicControl {
 public:
  explicit TRgnBtn(TComponent* owner);

  // Glyph 1 is the normal picture and the source of the outline, 2 the pressed, 3 the disabled
  // one (EListError for another index). SetGlyph copies BITMAP; a new glyph 1 leaves the button
  // without a region until UpdateRgn.
  TBitmap* GetGlyph(int index);
  void SetGlyph(int index, TBitmap* bitmap);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Pressed() const { return pressed_; }
  // The outline of glyph 1 in the button's own coordinates; null if none.
  HRGN RgnHandle() const { return outline_.Region(); }

  void ReadRgnData(std::span<const uint8_t> data) { outline_.Read(data); }
  std::vector<uint8_t> WriteRgnData() const { return outline_.Data(); }
  void UpdateRgn();
  void DestroyRgn();

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void SetProperty(const std::string& name, const Value& value) override;

 private:
  bool autoSize_ = false;
  std::array<TBitmap, 3> glyphs_;
  TBitmap work_;  // transparent: its bottom-left pixel's colour lets the background show
  bool pressed_ = false;
  StoredOutline outline_;
};

// Registers TRgn, TRgnList and TRgnBtn with the class registry.
void RegisterRegionClasses();
