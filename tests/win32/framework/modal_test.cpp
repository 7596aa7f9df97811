// Modal windows: every other window of the program disabled while one is shown modally, hidden
// ones too, and exactly those enabled again; the refusal of a visible window; OnShow; the end of
// the modal loop when the program ends.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/core/exception.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "support/test_support.h"

namespace {

class Window : public TForm {
 public:
  explicit Window(TComponent* owner) : TForm(owner) {
    SetBounds(300, 60, 120, 80);
    SetBorderStyle(TBorderStyle::bsNone);
  }
};

std::unique_ptr<Window> NewWindow() {
  Window* window = nullptr;
  CreateForm(Application, window);
  return std::unique_ptr<Window>(window);
}

TEST(ShowModal, DisablesEveryOtherWindowHiddenOnesTooAndEnablesExactlyThoseAgain) {
  auto modal = NewWindow();
  auto shown = NewWindow();
  auto hidden = NewWindow();
  hidden->Handle();
  auto disabledBefore = NewWindow();
  shown->Show();
  disabledBefore->Show();
  disabledBefore->SetEnabled(false);
  int shows = 0;
  bool visibleAtShow = true;
  modal->OnShow = [&](TObject*) {
    ++shows;
    visibleAtShow = IsWindowVisible(modal->Handle()) != FALSE;
  };
  bool checked = false;
  Later check([&] {
    EXPECT_TRUE(modal->Modal());
    EXPECT_TRUE(IsWindowVisible(modal->Handle()));
    EXPECT_TRUE(IsWindowEnabled(modal->Handle()));
    EXPECT_FALSE(IsWindowEnabled(shown->Handle()));
    EXPECT_FALSE(IsWindowEnabled(hidden->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Application->Handle()));
    // A window shown while the modal one is open takes no input.
    hidden->Show();
    EXPECT_FALSE(IsWindowEnabled(hidden->Handle()));
    // A second request on the visible window is refused with the framework's message.
    try {
      modal->ShowModal();
      ADD_FAILURE() << "a visible window was made modal";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "表示されているウィンドウをモーダルにすることはできません");
    }
    checked = true;
    modal->Close();
  });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
  EXPECT_TRUE(checked);
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(visibleAtShow);  // OnShow runs before the window appears
  EXPECT_FALSE(modal->Visible());
  EXPECT_FALSE(IsWindowVisible(modal->Handle()));
  EXPECT_FALSE(modal->Modal());
  EXPECT_TRUE(IsWindowEnabled(shown->Handle()));
  EXPECT_TRUE(IsWindowEnabled(hidden->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
  EXPECT_FALSE(IsWindowEnabled(disabledBefore->Handle()));  // it was not ours to enable
}

TEST(ShowModal, EndsWithTheResultSetOrWhenTheWindowIsHiddenAndCanBeShownAgain) {
  auto modal = NewWindow();
  Later ok([&] { modal->SetModalResult(mrOk); });
  EXPECT_EQ(modal->ShowModal(), mrOk);
  Later hide([&] { modal->Hide(); });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
  // The system's close command closes a modal window the way Close does.
  Later close([&] { PostMessageW(modal->Handle(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
}

TEST(ShowModal, AnExceptionFromOnShowLeavesEveryWindowAsItWas) {
  auto modal = NewWindow();
  auto other = NewWindow();
  other->Show();
  modal->OnShow = [](TObject*) { throw Exception("OnShow failed"); };
  EXPECT_THROW(modal->ShowModal(), Exception);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(modal->Modal());
  EXPECT_FALSE(IsWindowVisible(modal->Handle()));
}

TEST(FormVisibility, SetVisibleRunsOnShowOnlyWhenTheFormAppears) {
  auto form = NewWindow();
  int shows = 0;
  form->OnShow = [&](TObject*) { ++shows; };
  form->SetVisible(true);
  form->SetVisible(true);
  EXPECT_EQ(shows, 1);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->Show();
  EXPECT_EQ(shows, 2);
}

// Last in this program: it ends the application's message loop.
TEST(ShowModal, ZEndsWhenTheProgramEnds) {
  auto modal = NewWindow();
  auto other = NewWindow();
  other->Show();
  Later quit([] { PostQuitMessage(0); });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(IsWindowVisible(modal->Handle()));
}

}  // namespace
