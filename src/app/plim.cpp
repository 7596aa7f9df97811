#include "app/plim.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TCharacterForm(owner, 2) {
  DefineEvent("Timer1Timer", [this](TObject* sender) { Timer1Timer(sender); });
  Build("TForm3");
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::Timer1Timer(TObject*) { WalkTowardCursor(kPlimWalk); }
