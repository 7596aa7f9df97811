#include "app/startup.h"

#include "framework/framework.h"
#include "region/region.h"

void RegisterProgramClasses() {
  RegisterFrameworkClasses();
  RegisterRegionClasses();
}
