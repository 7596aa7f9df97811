#pragma once
// Test-only windows of the region tests, read from tests/win32/forms/TRegion*.dfm.
#include <string>
#include <vector>

#include "framework/forms.h"
#include "region/region.h"

// Four frames of Mubo's art (Rgn4 deliberately stores the outline of another picture than its
// own), a button placed before them in stored order, and the frame selector.
class TRegionTestForm : public TForm {
 public:
  explicit TRegionTestForm(TComponent* owner) : TForm(owner) {
    DefineEvent("FrameClick", [this](TObject* sender) { Clicked.push_back(sender); });
    LoadDescription("TRegionTestForm");
  }
  TRgn* Frame(int n) const { return Field<TRgn>("Rgn" + std::to_string(n)); }
  TRgnBtn* Button() const { return Field<TRgnBtn>("Btn1"); }
  TRgnList* List() const { return Field<TRgnList>("RgnList1"); }
  std::vector<TObject*> Clicked;
};

// A frame stored with an empty outline: loading fails.
class TRegionNoDataForm : public TForm {
 public:
  explicit TRegionNoDataForm(TComponent* owner) : TForm(owner) {
    LoadDescription("TRegionNoDataForm");
  }
};
