#include "app/startup.h"

#include "app/mubo.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/tesk.h"
#include "controls/dxfcheckbox.h"
#include "framework/framework.h"
#include "region/region.h"
#include "settings/status_form.h"
#include "tray/tray_icon.h"

void RegisterProgramClasses() {
  RegisterFrameworkClasses();
  RegisterRegionClasses();
  RegisterControlClasses();
  RegisterTrayClasses();
  RegisterSettingsClasses();
  RegisterComponentClass<TForm1>("TForm1");
  RegisterComponentClass<TForm2>("TForm2");
  RegisterComponentClass<TForm3>("TForm3");
  RegisterComponentClass<TForm4>("TForm4");
}
