// Under Windows (or Wine): the time from the request to open the settings window (ShowModal) to
// the window painted, its controls included: the first opening, and the median and the slowest
// of the next ones, each slot in turn. Prints figures, asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/startup.h"
#include "controls/dxfres.h"
#include "framework/forms.h"
#include "settings/status_form.h"
#include "win_bench.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes the moment the window's first paint after each opening has ended, with every control
// on it painted too, and then ends the modal loop.
class PaintWatch : public TWindowHook {
 public:
  Clock::time_point Painted;

 protected:
  void HookMessage(TMessage& message) override {
    PassOn(message);
    if (message.Msg != WM_PAINT || !StatusForm1 || !StatusForm1->Modal() ||
        StatusForm1->ModalResult() != mrNone)
      return;
    RedrawWindow(Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    Painted = Clock::now();
    StatusForm1->SetModalResult(mrOk);
  }
};

double OpenOnce(PaintWatch& watch, int slot) {
  StatusForm1->SelectedSlot = slot;
  const Clock::time_point start = Clock::now();
  StatusForm1->ShowModal();
  return std::chrono::duration<double, std::milli>(watch.Painted - start).count();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UseParentConsole();
  dxfRes::Initialize();
  TApplication application;
  application.SetTitle(kApplicationTitle);
  RegisterProgramClasses();
  CreateForm(&application, StatusForm1);
  PaintWatch watch;
  watch.Join(StatusForm1->Handle());
  const double first = OpenOnce(watch, 0);
  std::vector<double> times;
  for (int i = 0; i < 200; ++i) times.push_back(OpenOnce(watch, i % 4));
  std::sort(times.begin(), times.end());
  std::printf(
      "Settings window, request to painted (ms): first %.2f | median %.2f | slowest %.2f"
      " (of %zu)\n",
      first, times[times.size() / 2], times.back(), times.size());
  watch.Leave();
  delete StatusForm1;
  return 0;
}
