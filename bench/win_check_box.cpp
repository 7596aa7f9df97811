// Under Windows (or Wine): the time of one paint of the settings window's 13 x 13 check box
// (WM_PAINT: compose in the shared bitmap, one copy to the window), ticked and unticked, with a
// caption and focused; and of the paint alone, without the window message around it. Prints
// medians, asserts nothing.
#include <cstdio>
#include <memory>

#include "controls/dxfcheckbox.h"
#include "controls/dxfres.h"
#include "framework/forms.h"
#include "region_bench.h"
#include "win_bench.h"

namespace {

using region_bench::MedianMicroseconds;

void Measure(const char* name, TdxfCheckBox& box, int runs) {
  HWND window = box.Handle();
  const double message = MedianMicroseconds(
      [&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
      },
      runs);
  HDC dc = GetDC(window);
  const double paint = MedianMicroseconds(
      [&] {
        CanvasLend lend(*box.Canvas(), dc);
        box.Paint();
      },
      runs);
  ReleaseDC(window, dc);
  std::printf("%-34s %3d x %-3d | WM_PAINT %8.1f us | Paint alone %8.1f us\n", name, box.Width(),
              box.Height(), message, paint);
  std::fflush(stdout);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UseParentConsole();
  dxfRes::Initialize();
  TApplication application;
  auto form = std::make_unique<TForm>(&application);
  form->SetBounds(20, 20, 350, 350);
  form->SetBorderStyle(TBorderStyle::bsNone);
  form->Show();
  auto* box = new TdxfCheckBox(form.get());
  box->SetParent(form.get());
  box->SetBounds(12, 34, 13, 13);
  box->SetAutoSize(false);
  box->SetChecked(true);
  application.ProcessMessages();
  std::printf("Check box paint, median of runs (strip %s)\n",
              dxfRes::CBBmp().Empty() ? "MISSING" : "loaded");
  Measure("13 x 13, ticked", *box, 2001);
  box->SetChecked(false);
  Measure("13 x 13, unticked", *box, 2001);
  box->SetEnabled(false);
  Measure("13 x 13, ticked, disabled", *box, 2001);
  box->SetEnabled(true);
  box->SetAutoSize(true);
  box->SetCaption("キャラの表示/非表示");
  box->SetFocus();
  Measure("caption, auto size, focused", *box, 2001);
  return 0;
}
