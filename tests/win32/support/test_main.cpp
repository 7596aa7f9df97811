// Entry of every Windows test program: one application object, every class registered.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "controls/dxfres.h"
#include "framework/dpi.h"
#include "framework/forms.h"
#include "support/test_support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The test programs carry no manifest: they scale by themselves as the program does.
  DeclareDpiAwareness();
  dxfRes::Initialize();
  TApplication application;
  application.SetTitle(kApplicationTitle);
  RegisterProgramClasses();
  RegisterTestClasses();
  return RUN_ALL_TESTS();
}
