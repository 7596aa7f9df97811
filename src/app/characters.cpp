#include "app/characters.h"

void TCharacterForm::Build(const std::string& className) {
  LoadDescription(className);
  FramePhase = 0;
}
