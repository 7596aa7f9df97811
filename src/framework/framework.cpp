#include "framework/framework.h"

#include "framework/controls.h"
#include "framework/extctrls.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"

void RegisterFrameworkClasses() {
  RegisterComponentClass<TTimer>("TTimer");
  // A plain self-painting windowed control; the base of the owner-drawn ones.
  RegisterComponentClass<TCustomControl>("TCustomControl");
  RegisterComponentClass<TPopupMenu>("TPopupMenu");
  RegisterComponentClass<TMenuItem>("TMenuItem");
  RegisterComponentClass<TImageList>("TImageList");
  RegisterComponentClass<TImage>("TImage");
  RegisterComponentClass<TLabel>("TLabel");
  RegisterComponentClass<TShape>("TShape");
  RegisterComponentClass<TEdit>("TEdit");
  RegisterComponentClass<TPanel>("TPanel");
}
