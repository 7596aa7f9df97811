#include "app/startup.h"

#include "framework/framework.h"

void RegisterProgramClasses() { RegisterFrameworkClasses(); }
