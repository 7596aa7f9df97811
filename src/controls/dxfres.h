#pragma once
// The bitmaps that every check box shares, one of each per process: the glyph strip "CHECKBOX"
// and the off-screen bitmap in which a box composes its picture before one copy to the screen.
#include "framework/graphics.h"

namespace dxfRes {

// Makes both at program start, before any window: the strip is loaded from the program's bitmap
// resource "CHECKBOX" (left empty if it cannot be loaded). Later calls, and first use without
// it, find them made. Both are freed when the program ends.
void Initialize();

// The glyph strip: square cells as high as the strip, four per style.
TBitmap& CBBmp();
// Where boxes compose their pictures; it starts empty and only ever grows.
TBitmap& DrawBmp();

}  // namespace dxfRes
