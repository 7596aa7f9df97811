#pragma once
// Tesk, the rabbit.
#include "app/characters.h"

class TForm2 : public TCharacterForm {
 public:
  explicit TForm2(TComponent* owner);
  ~TForm2() override;
  void Timer1Timer(TObject* sender);
};

extern TForm2* Form2;
