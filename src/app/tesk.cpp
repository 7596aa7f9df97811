#include "app/tesk.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TCharacterForm(owner, 1) {
  DefineEvent("Timer1Timer", [this](TObject* sender) { Timer1Timer(sender); });
  Build("TForm2");
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

void TForm2::Timer1Timer(TObject*) { WalkTowardCursor(kTeskWalk); }
