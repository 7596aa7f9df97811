#pragma once
// Plim, the cat.
#include "app/characters.h"

class TForm3 : public TCharacterForm {
 public:
  explicit TForm3(TComponent* owner);
  ~TForm3() override;
  void Timer1Timer(TObject* sender);
};

extern TForm3* Form3;
