#pragma once
// Quarn, the bird that chases another character.
#include "app/characters.h"

class TForm4 : public TCharacterForm {
 public:
  explicit TForm4(TComponent* owner);
  ~TForm4() override;
  void Timer1Timer(TObject* sender);
};

extern TForm4* Form4;
