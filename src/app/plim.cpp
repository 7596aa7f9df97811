#include "app/plim.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TCharacterForm(owner) { Build("TForm3"); }
