#pragma once
// What the four character windows share: their frames and frame selector, the walking-cycle
// phase, the walker's timer, and the way they are built.
#include <array>
#include <optional>

#include "app/core/walker.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "region/region.h"

class TCharacterForm : public TForm {
 public:
  // SLOT: the character's slot in the settings window, 0 to 3.
  TCharacterForm(TComponent* owner, int slot) : TForm(owner), Slot(slot) {}

  const int Slot;

  TRgnList* RgnList1 = nullptr;
  TTimer* Timer1 = nullptr;
  std::array<TRgn*, 13> Rgn{};  // Rgn[1] to Rgn[12]: the frames Rgn1 to Rgn12
  int32_t FramePhase = 0;       // the walking-cycle phase, 0, 1 or 2

  // The system's close command ends the program on the main window; the other characters ignore
  // it, each staying visible exactly when its box in the settings window is ticked.
  void WMClose(TMessage& message) override;
  // The frames follow (each outline made anew, once per scale) and the shown frame is shown
  // again, with the window's outline at the new scale.
  void ChangeScale(int scale) override;
  // The frame shown now (1 to 12), 0 when none or several are.
  int ShownFrame() const;

  // A left click on any frame: opens the file of the character's slot through the shell, or
  // beeps when none is assigned. The field is read at the click, whole.
  void Rgn1Click(TObject* sender);
  // The character menu's command: the settings window opened on the character's slot.
  void N1Click(TObject* sender);

  // Where the walkers read the pointer (tests replace it).
  inline static BOOL(WINAPI* ReadCursorPos)(LPPOINT) = GetCursorPos;

 protected:
  // Nothing: the window's region is the shown frame's outline, which the frame paints whole, so
  // the form's colour under it would be painted only to be covered in the same paint.
  void PaintWindow(HDC) override {}
  // Reads the window's stored description, then the steps every character window takes.
  void Build(const std::string& className);
  // One walker tick with the character's parameters, toward the point (screen coordinates) that
  // REFERENCE reads once the window holds the mouse capture. No point, no move.
  template <class Reference>
  void Walk(WalkerParams params, Reference reference) {
    // Under Wine no capture: its release injects a pointer move, and Wine asks X where the
    // pointer is only 100 ms after its own last pointer change, which four walkers releasing
    // every 50 ms never leave; the characters would not see the pointer outside Wine's windows.
    // While a menu is open (the tray's, a character's) no capture either: taking it would close
    // the menu under the user's pointer.
    std::optional<MouseCapture> capture;
    if (!RunningUnderWine() && !MenuOpen()) capture.emplace(Handle());
    if (std::optional<Point> point = reference()) Step(*point, ScaledBy(params, Scale()));
  }
  // One walker tick toward the mouse pointer.
  void WalkTowardCursor(WalkerParams params);
  // Advances the phase and moves toward REFERENCE on each axis, showing the frame of the last move.
  void Step(Point reference, WalkerParams params);
  // Shows frame NUMBER alone and gives the window its outline.
  void SelectFrame(int number);
};
