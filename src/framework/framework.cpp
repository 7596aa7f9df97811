#include "framework/framework.h"

#include "framework/controls.h"
#include "framework/extctrls.h"

void RegisterFrameworkClasses() {
  RegisterComponentClass<TTimer>("TTimer");
  // A plain self-painting windowed control; the base of the owner-drawn ones.
  RegisterComponentClass<TCustomControl>("TCustomControl");
}
