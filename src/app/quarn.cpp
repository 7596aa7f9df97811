#include "app/quarn.h"

#include "app/mubo.h"
#include "app/plim.h"
#include "app/tesk.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* owner) : TCharacterForm(owner, 3) {
  DefineEvent("Timer1Timer", [this](TObject* sender) { Timer1Timer(sender); });
  Build("TForm4");
}

TForm4::~TForm4() {
  if (Form4 == this) Form4 = nullptr;
}

void TForm4::Timer1Timer(TObject*) {
  if (!Form1) return;
  const std::array<TCharacterForm*, 3> targets{Form1, Form2, Form3};
  TCharacterForm* target = targets.at(static_cast<size_t>(Form1->ChaseTarget));
  // Quarn waits while the one it chases is hidden.
  if (!target || !target->Visible()) return;
  Walk(kQuarnWalk, [target] { return std::optional<Point>(Point{target->Left(), target->Top()}); });
}
