#include "app/quarn.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* owner) : TCharacterForm(owner) { Build("TForm4"); }
