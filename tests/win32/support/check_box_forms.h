#pragma once
// The check box tests' window, read from tests/win32/forms/TCheckBoxTestForm.dfm: four boxes
// stored as the settings window stores its show/hide switches.
#include <map>
#include <string>

#include "controls/dxfcheckbox.h"
#include "framework/forms.h"

class TCheckBoxTestForm : public TForm {
 public:
  explicit TCheckBoxTestForm(TComponent* owner) : TForm(owner) {
    DefineEvent("CheckBoxClick", [this](TObject* sender) {
      ++Clicks[sender];
      if (auto* box = dynamic_cast<TdxfCheckBox*>(sender)) CheckedAtClick[sender] = box->Checked();
    });
    LoadDescription("TCheckBoxTestForm");
  }
  TdxfCheckBox* Box(int n) const { return Field<TdxfCheckBox>("CheckBox" + std::to_string(n)); }
  std::map<TObject*, int> Clicks;           // OnClick runs per box
  std::map<TObject*, bool> CheckedAtClick;  // Checked as each box's last OnClick saw it
};
