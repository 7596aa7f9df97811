#pragma once
// Helpers of the tests that drive the four character windows.
#include <windows.h>

#include <vector>

#include "app/mubo.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/tesk.h"
#include "region/core/region_data.h"

namespace character_test {

// A hook of the thread's message retrieval (WH_GETMESSAGE) that drops the timer messages while it
// is installed: start-up runs messages, and no walker takes a step meanwhile.
inline LRESULT CALLBACK DropTimerMessages(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (msg->message == WM_TIMER) msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// One walker tick of F, called directly.
inline void Tick(TCharacterForm* f) {
  if (f == Form1) Form1->Timer1Timer(f->Timer1);
  if (f == Form2) Form2->Timer1Timer(f->Timer1);
  if (f == Form3) Form3->Timer1Timer(f->Timer1);
  if (f == Form4) Form4->Timer1Timer(f->Timer1);
}

inline void PlaceAt(TCharacterForm* f, int left, int top) {
  f->SetBounds(left, top, f->Width(), f->Height());
}

// Rectangles of a region, in canonical order.
inline std::vector<Rect> RectsOf(const std::vector<RECT>& rects) {
  std::vector<Rect> out;
  for (const RECT& r : rects) out.push_back({r.left, r.top, r.right, r.bottom});
  return Region::FromRects(out).Rects();
}

}  // namespace character_test
