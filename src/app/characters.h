#pragma once
// What the four character windows share: the walking-cycle phase and the way they are built.
#include "framework/forms.h"

class TCharacterForm : public TForm {
 public:
  explicit TCharacterForm(TComponent* owner) : TForm(owner) {}

  int32_t FramePhase = 0;  // the walking-cycle phase, 0, 1 or 2

 protected:
  // Reads the window's stored description, then the steps every character window takes.
  void Build(const std::string& className);
};
