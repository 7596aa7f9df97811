#pragma once
// Mubo, the elephant on the ball: the main window of the program.
#include "app/characters.h"

class TForm1 : public TCharacterForm {
 public:
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  int32_t ChaseTarget = 0;  // the character Quarn chases: 0 Mubo, 1 Tesk, 2 Plim

  void FormCreate(TObject* sender);
  void Timer1Timer(TObject* sender);
};

extern TForm1* Form1;
