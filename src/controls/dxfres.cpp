#include "controls/dxfres.h"

#include "framework/core/exception.h"

namespace dxfRes {

namespace {

struct SharedBitmaps {
  TBitmap CBBmp;
  TBitmap DrawBmp;

  SharedBitmaps() {
    try {
      CBBmp.LoadFromResourceName(GetModuleHandleW(nullptr), "CHECKBOX");
    } catch (const Exception&) {
      // Without the strip, boxes paint their background and caption only.
    }
  }
};

SharedBitmaps& Shared() {
  static SharedBitmaps bitmaps;
  return bitmaps;
}

}  // namespace

void Initialize() { Shared(); }

TBitmap& CBBmp() { return Shared().CBBmp; }

TBitmap& DrawBmp() { return Shared().DrawBmp; }

}  // namespace dxfRes
