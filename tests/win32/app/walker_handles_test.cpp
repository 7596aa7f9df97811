// A long walk: the walker must not lose region or bitmap handles, however many ticks it makes.
// Quarn chases Mubo here, so no pointer is needed and the test can run beside others.
#include <gtest/gtest.h>

#include "app/mubo.h"
#include "app/quarn.h"
#include "support/test_support.h"

namespace {

// Every tick moves and changes the frame, and the handle count must come back exactly: a walker
// losing one region or bitmap a tick shows as two thousand missing.
TEST(WalkerHandles, NoneAreLostOverTwoThousandTicksWithMoves) {
  // Mubo's window without its creation handler: only the chased target, out of sight.
  // Renamed, so that the end-to-end tests running beside this one never mistake them for theirs.
  Form1 = new TForm1(Application);
  Form1->SetCaption("Mubo (long walk)");
  Form1->Timer1->SetEnabled(false);
  Form1->SetBounds(-3000, -3000, Form1->Width(), Form1->Height());
  Form1->Show();
  Form1->ChaseTarget = 0;
  CreateForm(Application, Form4);
  Form4->SetCaption("Quarn (long walk)");
  Form4->Timer1->SetEnabled(false);  // hidden: its walker still runs, the display has less to do

  // Warm up, so that what the first ticks make once (caches, surfaces) is not counted.
  for (int i = 0; i < 200; ++i) Form4->Timer1Timer(Form4->Timer1);
  PumpUntil([] { return true; });
  const int before = GdiHeadroom();

  int moves = 0;
  const int ticks = 2000;
  for (int i = 0; i < ticks; ++i) {
    // The target jumps from side to side, so Quarn moves (and changes its frame) on every tick.
    if (i % 100 == 0) Form1->SetLeft(Form4->Left() + (i % 200 == 0 ? 2000 : -2000));
    int left = Form4->Left();
    Form4->Timer1Timer(Form4->Timer1);
    moves += Form4->Left() != left;
    if (i % 500 == 0) PumpUntil([] { return true; });
  }
  PumpUntil([] { return true; });
  EXPECT_EQ(moves, ticks);
  EXPECT_EQ(GdiHeadroom(), before);

  delete Form4;
  delete Form1;
  Form1 = nullptr;
  Form4 = nullptr;
}

}  // namespace
