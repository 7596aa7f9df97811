#pragma once
// TStatusForm1, the settings window: a borderless, skinned, always-on-top window of 350 x 350 in
// which the user steps through the four character slots, sees and receives (by drops) the file
// each slot launches, shows or hides each character, and closes the window, which saves the
// settings file and lets the characters walk again. Its check boxes and edit fields are the
// program's live settings.
#include <array>
#include <cstdint>

#include "controls/dxfcheckbox.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "settings/settings_file.h"
#include "tray/tray_icon.h"

// The character windows as the settings window reaches them: through the program's window
// references, so null once a window no longer exists.
class CharacterWindows {
 public:
  // The slot's (0 to 3) character window, and the timer that drives its walker.
  virtual TForm* Window(int slot) const = 0;
  virtual TTimer* Walker(int slot) const = 0;

 protected:
  ~CharacterWindows() = default;
};

class TStatusForm1 : public TForm, public SettingsControls {
 public:
  // Builds the window from its stored description and registers it for dropped files, also from
  // programs of lower integrity (which makes its window at once; it stays hidden).
  explicit TStatusForm1(TComponent* owner);
  ~TStatusForm1() override;

  // The selected slot, 0 to 3 (the slot number minus one).
  int32_t SelectedSlot = 0;
  // How the window reaches the characters; set by whoever creates it. Without it, the check
  // boxes and the close button change no character window.
  const CharacterWindows* Characters = nullptr;

  TImage* Image1 = nullptr;  // the background, into which FormShow paints the portraits
  TImage* Image2 = nullptr;  // information
  TImage* Image3 = nullptr;  // next slot
  TImage* Image4 = nullptr;  // previous slot
  TImage* Image5 = nullptr;  // save and close
  TEdit* Edit1 = nullptr;
  TEdit* Edit3 = nullptr;
  TEdit* Edit5 = nullptr;
  TEdit* Edit7 = nullptr;
  TdxfCheckBox* CheckBox1 = nullptr;
  TdxfCheckBox* CheckBox2 = nullptr;
  TdxfCheckBox* CheckBox3 = nullptr;
  TdxfCheckBox* CheckBox4 = nullptr;
  TImageList* ImageList1 = nullptr;
  TTrayIcon* TrayIcon1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;

  // The slot's check box and edit field.
  TdxfCheckBox* SlotCheckBox(int slot) const;
  TEdit* SlotEdit(int slot) const;

  // Shows the selected slot: its portrait in colour among grey ones, its edit field the only
  // enabled one. Does nothing for a slot outside 0..3.
  void FormShow(TObject* sender);
  void CheckBox1Click(TObject* sender);
  void CheckBox2Click(TObject* sender);
  void CheckBox3Click(TObject* sender);
  void CheckBox4Click(TObject* sender);
  void Image3Click(TObject* sender);
  void Image4Click(TObject* sender);
  // Refused with the beep while no box is ticked; else saves the settings file, starts the four
  // walkers and closes the window. A failed save raises EIniFileException: the window stays open.
  // The next close after a failed save closes the window even when that save fails too (then
  // silently), the settings kept in the window.
  void Image5Click(TObject* sender);

  // The opening sequence of a character's menu command for SLOT (0 to 3): the four walkers
  // stopped, SLOT's own first, SLOT selected, the window shown modally until it is closed. While
  // the window is shown, a second request only brings it to the front, its slot unchanged. A
  // window whose place lies off every monitor opens on the nearest one. If showing fails, the
  // walkers run again and the error goes on to the caller.
  void OpenForSlot(int slot);
  // The tray icon's double click and its menu's first item: opened as Mubo's menu opens it.
  void TrayIcon1DblClick(TObject* sender);
  void S1Click(TObject* sender);
  // The information page, through the shell; N2Click opens it, Image2Click beeps, moves the
  // window back to 20, 20 and then opens it.
  void N2Click(TObject* sender);
  void Image2Click(TObject* sender);
  // The tray menu's exit item: closes Mubo's window, which ends the program without saving.
  void N1Click(TObject* sender);

  // WM_NCHITTEST answers "caption" (the window is dragged by its surface); WM_DROPFILES goes to
  // WMDropFiles; after WM_DISPLAYCHANGE the window, if shown, is brought back onto a monitor when
  // it lies off all of them; the rest goes to the form's dispatch.
  void Dispatch(TMessage& message) override;

  // SettingsControls: the boxes and fields by slot.
  bool Shown(int slot) const override;
  void SetShown(int slot, bool shown) override;
  std::string LaunchFile(int slot) const override;
  void SetLaunchFile(int slot, const std::string& fileName) override;

  // The portraits' place: slot J's picture at (kPortraitLeft, kPortraitTop + kSlotPitch x J).
  static constexpr int kPortraitLeft = 12;
  static constexpr int kPortraitTop = 50;
  static constexpr int kSlotPitch = 72;

 protected:
  void WMNCHitTest(TMessage& message) override;
  // The system's close command (Alt+F4) does what the close button does.
  void WMClose(TMessage& message) override;
  // A shell drop: its last path goes to the selected slot's edit field, whole. A drop holding a
  // path with a line break is refused with the beep (the settings file could not keep it).
  void WMDropFiles(TMessage& message) override;

 private:
  // Shows or hides the slot's character as its box says.
  void ApplyShown(int slot);
  void OpenInformationPage();
  // Every walker's timer enabled or disabled, in the order of SLOTS.
  void EnableWalkers(const std::array<int, kSlotCount>& slots, bool enabled);

  // Whether the last close failed to save (the next one closes whatever happens).
  bool saveFailed_ = false;
};

// The settings window, from its creation at start-up until it is destroyed.
extern TStatusForm1* StatusForm1;

// Registers TStatusForm1 with the class registry.
void RegisterSettingsClasses();
