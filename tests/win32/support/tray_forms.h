#pragma once
// The test window of the tray icon, read from tests/win32/forms/TTrayTestForm.dfm: the tray icon
// and its menu stored as the settings window stores them, with handlers that log what they see.
#include <functional>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "tray/tray_icon.h"

class TTrayTestForm : public TForm {
 public:
  explicit TTrayTestForm(TComponent* owner) : TForm(owner) {
    DefineEvent("TrayIcon1DblClick", [this](TObject*) {
      Log.push_back("OnDblClick");
      if (OnDoubleClick) OnDoubleClick();
    });
    DefineEvent("ItemClick", [this](TObject* sender) {
      auto* item = static_cast<TMenuItem*>(sender);
      Log.push_back("click " + item->Name() + (MenuOpen() ? " (menu open)" : ""));
      if (OnItemClick) OnItemClick(item);
    });
    LoadDescription("TTrayTestForm");
  }
  TTrayIcon* Tray() const { return Field<TTrayIcon>("TrayIcon1"); }
  TPopupMenu* Menu() const { return Field<TPopupMenu>("PopupMenu1"); }

  // Logs every event of the tray icon besides the stored double click: "OnMouseDown right 0 x y"
  // (button, shift state, position), "OnClick", "OnMouseUp left 0 x y", "OnMouseMove 0 x y",
  // "OnPopUp".
  void LogEveryEvent() {
    TTrayIcon* tray = Tray();
    auto button = [](TMouseButton b) {
      return b == TMouseButton::mbLeft ? "left" : b == TMouseButton::mbRight ? "right" : "middle";
    };
    auto where = [](TShiftState shift, int x, int y) {
      return " " + std::to_string(shift) + " " + std::to_string(x) + " " + std::to_string(y);
    };
    tray->OnMouseDown = [=, this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Log.push_back(std::string("OnMouseDown ") + button(b) + where(s, x, y));
    };
    tray->OnMouseUp = [=, this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Log.push_back(std::string("OnMouseUp ") + button(b) + where(s, x, y));
    };
    tray->OnMouseMove = [=, this](TObject*, TShiftState s, int x, int y) {
      Log.push_back("OnMouseMove" + where(s, x, y));
    };
    tray->OnClick = [this](TObject*) { Log.push_back("OnClick"); };
    tray->OnPopUp = [this](TObject*) { Log.push_back("OnPopUp"); };
  }

  std::vector<std::string> Log;
  std::function<void()> OnDoubleClick;
  std::function<void(TMenuItem*)> OnItemClick;
};
