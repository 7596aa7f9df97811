#include "app/mubo.h"

#include <ctime>

#include "app/core/chase.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/settings_load.h"
#include "app/step_aside.h"
#include "app/tesk.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TCharacterForm(owner, 0) {
  DefineEvent("FormCreate", [this](TObject* sender) { FormCreate(sender); });
  DefineEvent("Timer1Timer", [this](TObject* sender) { Timer1Timer(sender); });
  Build("TForm1");
  ChaseTarget = ChooseChaseTarget(static_cast<uint64_t>(std::time(nullptr)));
}

void TForm1::FormCreate(TObject*) {
  CreateForm(Form1, Form2)->Show();
  CreateForm(Form1, Form3)->Show();
  CreateForm(Form1, Form4)->Show();
  LoadSettingsAtStartup(this);
  new TFullScreenWatch(
      this, [] { return std::vector<TForm*>{Form1, Form2, Form3, Form4}; }, Timer1->Interval());
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::Timer1Timer(TObject*) {
  // Mubo is shown exactly when its box is ticked, whatever showed or hid the window meanwhile.
  if (StatusForm1) SetVisible(StatusForm1->CheckBox1->Checked());
  WalkTowardCursor(kMuboWalk);
}
