#include "app/settings_load.h"

#include "app/mubo.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/tesk.h"

namespace {

class Characters final : public CharacterWindows {
 public:
  TForm* Window(int slot) const override { return Character(slot); }
  TTimer* Walker(int slot) const override {
    TCharacterForm* character = Character(slot);
    return character ? character->Timer1 : nullptr;
  }

 private:
  static TCharacterForm* Character(int slot) {
    switch (slot) {
      case 0:
        return Form1;
      case 1:
        return Form2;
      case 2:
        return Form3;
      case 3:
        return Form4;
      default:
        return nullptr;
    }
  }
};

}  // namespace

const CharacterWindows& ProgramCharacters() {
  static const Characters characters;
  return characters;
}

void LoadSettingsAtStartup(TForm1* owner) {
  CreateForm(owner, StatusForm1)->Characters = &ProgramCharacters();
  // Each slot's box is set, and its character shown or hidden, before the next slot is read.
  LoadSettings(*StatusForm1);
  StatusForm1->TrayIcon1->SetActive(true);
}
