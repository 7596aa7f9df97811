// Program entry: the application with its title and the main character window.
#include <memory>

#include "app/mubo.h"
#include "app/startup.h"
#include "controls/dxfres.h"
#include "framework/core/exception.h"
#include "framework/dpi.h"
#include "framework/winapi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // As the manifest says, for a system that does not read it; before any window.
  DeclareDpiAwareness();
  // Entered by the first launch through the shell, kept until the program ends.
  ComApartment shell;
  std::unique_ptr<TApplication> application;
  try {
    // The check boxes' shared bitmaps, before any window.
    dxfRes::Initialize();
    application = std::make_unique<TApplication>();
    RegisterProgramClasses();
    Application->Initialize();
    Application->SetTitle(kApplicationTitle);
    Application->CreateForm(Form1);
    Application->Run();
  } catch (...) {
    if (application) application->HandleException(std::current_exception());
  }
  return 0;
}
