#include "framework/framework.h"

#include "framework/extctrls.h"

void RegisterFrameworkClasses() { RegisterComponentClass<TTimer>("TTimer"); }
