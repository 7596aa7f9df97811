#include "app/tesk.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TCharacterForm(owner) { Build("TForm2"); }
