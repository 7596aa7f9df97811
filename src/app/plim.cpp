#include "app/plim.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TCharacterForm(owner) {
  DefineEvent("Timer1Timer", [this](TObject* sender) { Timer1Timer(sender); });
  Build("TForm3");
}

void TForm3::Timer1Timer(TObject*) { WalkTowardCursor(kPlimWalk); }
