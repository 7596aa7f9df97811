// A program with an active notification-area icon, for the end-to-end test of the tray: the tray
// test window (tests/win32/forms/TTrayTestForm.dfm, the icon and menu stored as the settings
// window stores them) as the main form, its icon activated. It writes what happens to the file
// named on its command line, a line each:
//   "active"                      the icon was activated
//   the icon's events             "OnDblClick", "OnMouseDown right 0 X Y", ... (tray_forms.h)
//   "item NAME L T R B"           each item of the menu while it is open (screen coordinates)
//   "ticks N"                     the menu closed after N ticks of a 50 ms timer
//   "click NAME"                  an item ran (" (menu open)" added if the menu was still open)
// The exit item N1 closes the main form, which ends the program.
#include <cstdio>
#include <memory>

#include "app/startup.h"
#include "framework/extctrls.h"
#include "support/tray_forms.h"

namespace {

class Log {
 public:
  explicit Log(const wchar_t* path) : file_(_wfopen(path, L"wb")) {}
  ~Log() {
    if (file_) std::fclose(file_);
  }
  void Line(const std::string& text) {
    if (!file_) return;
    std::fprintf(file_, "%s\n", text.c_str());
    std::fflush(file_);
  }

 private:
  FILE* file_;
};

// Writes the items of the open menu once per opening, and the ticks it stayed open.
void WatchMenu(Log& log, int& ticksOpen) {
  HWND window = FindWindowW(L"#32768", nullptr);
  if (window && IsWindowVisible(window)) {
    if (ticksOpen++ > 0) return;
    auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      RECT r{};
      GetMenuItemRect(nullptr, menu, i, &r);
      wchar_t text[64] = {};
      GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      log.Line("item " + Narrow(text) + " " + std::to_string(r.left) + " " + std::to_string(r.top) +
               " " + std::to_string(r.right) + " " + std::to_string(r.bottom));
    }
  } else if (ticksOpen > 0) {
    log.Line("ticks " + std::to_string(ticksOpen));
    ticksOpen = 0;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  Log log(argv[1]);
  TApplication application;
  try {
    RegisterProgramClasses();
    RegisterComponentClass<TTrayTestForm>("TTrayTestForm");
    Application->SetTitle("Tray demo");
    TTrayTestForm* form = nullptr;
    Application->CreateForm(form);
    form->LogEveryEvent();
    form->OnItemClick = [form](TMenuItem* item) {
      if (item->Name() == "N1") form->Close();
    };
    size_t written = 0;
    int ticksOpen = 0;
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->SetOnTimer([&](TObject*) {
      for (; written < form->Log.size(); ++written) log.Line(form->Log[written]);
      WatchMenu(log, ticksOpen);
    });
    form->Tray()->SetActive(true);
    log.Line("active");
    Application->Run();
  } catch (...) {
    application.HandleException(std::current_exception());
  }
  return 0;
}
