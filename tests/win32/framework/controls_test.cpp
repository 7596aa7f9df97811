// Windowed controls on real windows: component messages and what follows the parent, tab order
// and the keyboard, double clicks, and bitmaps from the program's resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "framework/core/exception.h"
#include "framework/forms.h"
#include "support/test_support.h"

namespace {

// A self-painting control that records the component messages it receives.
class Probe : public TCustomControl {
 public:
  explicit Probe(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 40, 20);
    SetTabStop(true);
  }
  std::vector<UINT> Messages;
  LRESULT Answer = 0;  // what it answers to CM_BUTTONPRESSED
  int DoubleClicks = 0, Clicks = 0;
  int PlaceChanges = 0;
  POINT SeenOnMove{-1, -1};  // Left and Top as a WM_MOVE handler reads them
  void Dispatch(TMessage& m) override {
    if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) Messages.push_back(m.Msg);
    if (m.Msg == WM_WINDOWPOSCHANGING) ++PlaceChanges;
    if (m.Msg == WM_MOVE) SeenOnMove = {Left(), Top()};
    if (m.Msg == CM_BUTTONPRESSED) {
      m.Result = Answer;
      return;
    }
    TCustomControl::Dispatch(m);
  }
  void Click() override { ++Clicks; }
  void DblClick() override { ++DoubleClicks; }
  int Count(UINT msg) const {
    return static_cast<int>(std::count(Messages.begin(), Messages.end(), msg));
  }
};

class Window : public TForm {
 public:
  explicit Window(TComponent* owner) : TForm(owner) {
    SetBounds(300, 60, 200, 160);
    SetBorderStyle(TBorderStyle::bsNone);
    SetFormStyle(TFormStyle::fsStayOnTop);
  }
  Probe* Add(int left, int top) {
    auto* probe = new Probe(this);
    probe->SetParent(this);
    probe->SetLeft(left);
    probe->SetTop(top);
    return probe;
  }
};

std::unique_ptr<Window> NewWindow() {
  Window* window = nullptr;
  CreateForm(Application, window);
  return std::unique_ptr<Window>(window);
}

TEST(ComponentMessages, FontColourAndCaptionReachTheControlAndThoseThatFollowIt) {
  auto window = NewWindow();
  Probe* follower = window->Add(0, 0);
  Probe* own = window->Add(50, 0);
  own->Font().SetHeight(-20);  // a font of its own: it no longer follows
  own->SetColor(RGB(1, 2, 3));
  EXPECT_FALSE(own->ParentFont());
  EXPECT_FALSE(own->ParentColor());
  EXPECT_EQ(follower->Color(), clBtnFace);  // the window's, taken when placed on it

  window->Font().SetName("IPAGothic");
  EXPECT_EQ(follower->Font().Name(), "IPAGothic");
  EXPECT_TRUE(follower->ParentFont());
  EXPECT_EQ(follower->Count(CM_FONTCHANGED), 1);
  EXPECT_EQ(own->Font().Name(), "MS UI Gothic");
  EXPECT_EQ(own->Count(CM_FONTCHANGED), 1);  // only its own change
  window->Font().SetName("IPAGothic");       // the same name: no change, no message
  EXPECT_EQ(follower->Count(CM_FONTCHANGED), 1);

  window->SetColor(RGB(9, 9, 9));
  EXPECT_EQ(follower->Color(), RGB(9, 9, 9));
  EXPECT_EQ(follower->Count(CM_COLORCHANGED), 2);  // placed, then the new colour
  EXPECT_EQ(own->Color(), RGB(1, 2, 3));
  own->SetParentColor(true);
  EXPECT_EQ(own->Color(), RGB(9, 9, 9));

  follower->SetCaption("見出し");
  EXPECT_EQ(follower->Count(CM_TEXTCHANGED), 1);
  wchar_t text[16];
  GetWindowTextW(follower->Handle(), text, 16);
  EXPECT_STREQ(text, L"見出し");
  follower->SetCaption("見出し");
  EXPECT_EQ(follower->Count(CM_TEXTCHANGED), 1);
}

TEST(ComponentMessages, DisablingTakesTheWindowsInputAndFocusAway) {
  auto window = NewWindow();
  window->Show();
  Probe* probe = window->Add(0, 0);
  probe->SetFocus();
  ASSERT_TRUE(probe->Focused());
  probe->SetEnabled(false);
  EXPECT_EQ(probe->Count(CM_ENABLEDCHANGED), 1);
  EXPECT_FALSE(IsWindowEnabled(probe->Handle()));
  EXPECT_EQ(GetFocus(), window->Handle());
  probe->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(probe->Handle()));

  // Made disabled, the window is made so.
  auto* late = new Probe(window.get());
  late->SetEnabled(false);
  late->SetParent(window.get());
  EXPECT_FALSE(IsWindowEnabled(late->Handle()));
}

TEST(ComponentMessages, BroadcastGoesToEachChildUntilOneAnswers) {
  auto window = NewWindow();
  Probe* first = window->Add(0, 0);
  Probe* second = window->Add(0, 30);
  Probe* third = window->Add(0, 60);
  second->Answer = 7;
  TMessage m{CM_BUTTONPRESSED, 1, 0, 0};
  window->Broadcast(m);
  EXPECT_EQ(m.Result, 7);
  EXPECT_EQ(first->Count(CM_BUTTONPRESSED), 1);
  EXPECT_EQ(second->Count(CM_BUTTONPRESSED), 1);
  EXPECT_EQ(third->Count(CM_BUTTONPRESSED), 0);
  // Messages to a control without a window end at the control.
  Probe alone(nullptr);
  EXPECT_EQ(alone.Perform(CM_FONTCHANGED), 0);
  EXPECT_FALSE(alone.HandleAllocated());
}

TEST(TabOrder, StoredOrdersAreTakenWhenTheWholeWindowIsReadAndTabGoesRound) {
  auto window = NewWindow();
  // As a description stores them: A 2, B 1, C 0, each set before the next sibling exists.
  std::vector<Probe*> probes;
  window->BeginLoading();
  for (int stored : {2, 1, 0}) {
    auto* probe = new Probe(window.get());
    probe->BeginLoading();
    probe->SetParent(window.get());
    probe->SetTop(30 * stored);
    probe->SetTabOrder(stored);
    probes.push_back(probe);
  }
  window->Loaded();
  for (Probe* p : probes) p->Loaded();
  EXPECT_EQ(probes[0]->TabOrder(), 2);
  EXPECT_EQ(probes[1]->TabOrder(), 1);
  EXPECT_EQ(probes[2]->TabOrder(), 0);
  probes[0]->SetTabOrder(0);
  EXPECT_EQ(window->TabOrderList(), (std::vector<TWinControl*>{probes[0], probes[2], probes[1]}));
  probes[0]->SetTabOrder(99);  // past the end: last
  EXPECT_EQ(probes[0]->TabOrder(), 2);

  // Tab and Shift+Tab through real keys, skipping what cannot take the focus.
  window->Show();
  SetForegroundWindow(window->Handle());
  std::vector<std::string> entered;
  for (Probe* p : probes) {
    p->OnEnter = [&, p](TObject*) { entered.push_back("enter " + std::to_string(p->TabOrder())); };
    p->OnExit = [&, p](TObject*) { entered.push_back("exit " + std::to_string(p->TabOrder())); };
  }
  probes[2]->SetFocus();  // tab order 0
  probes[1]->SetTabStop(false);
  SendKey(VK_TAB, true);
  SendKey(VK_TAB, false);
  ASSERT_TRUE(PumpUntil([&] { return probes[0]->Focused(); }));
  SendKey(VK_TAB, true);
  SendKey(VK_TAB, false);
  ASSERT_TRUE(PumpUntil([&] { return probes[2]->Focused(); }));  // round to the first
  probes[1]->SetTabStop(true);
  probes[0]->SetVisible(false);
  SendKey(VK_TAB, true, {VK_SHIFT});
  SendKey(VK_TAB, false, {VK_SHIFT});
  ASSERT_TRUE(PumpUntil([&] { return probes[1]->Focused(); }));  // backwards, past the hidden
  EXPECT_EQ(entered, (std::vector<std::string>{"enter 0", "exit 0", "enter 2", "exit 2", "enter 0",
                                               "exit 0", "enter 1"}));
}

TEST(Keys, EventsSeeEveryKeyAndAHandlerMayTakeItAway) {
  auto window = NewWindow();
  window->Show();
  SetForegroundWindow(window->Handle());
  Probe* probe = window->Add(0, 0);
  std::vector<std::string> seen;
  probe->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
    seen.push_back("down " + std::to_string(key) + ((shift & ssShift) ? " shift" : ""));
  };
  probe->OnKeyPress = [&](TObject*, wchar_t& key) {
    seen.push_back(std::string("press ") + static_cast<char>(key));
  };
  probe->OnKeyUp = [&](TObject*, uint16_t& key, TShiftState) {
    seen.push_back("up " + std::to_string(key));
  };
  probe->SetFocus();
  SendKey('A', true, {VK_SHIFT});
  SendKey('A', false);
  ASSERT_TRUE(PumpUntil([&] { return seen.size() >= 5; }));
  EXPECT_EQ(seen, (std::vector<std::string>{"down 16 shift", "down 65 shift", "press A", "up 16",
                                            "up 65"}));
  // Taken away on the way down: the key reaches nothing more, not even the Tab handling.
  probe->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) { key = 0; };
  Probe* next = window->Add(0, 30);
  SendKey(VK_TAB, true);
  SendKey(VK_TAB, false);
  PumpUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_TRUE(probe->Focused());
  EXPECT_FALSE(next->Focused());
}

TEST(Mouse, SelfPaintingControlsTakeADoubleClickAsOne) {
  auto window = NewWindow();
  window->Show();
  Probe* probe = window->Add(10, 10);
  POINT centre{20, 10};
  ClientToScreen(probe->Handle(), &centre);
  ClickAt(centre, 2);
  ASSERT_TRUE(PumpUntil([&] { return probe->DoubleClicks == 1; }));
  PumpUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(probe->Clicks, 1);  // the first press and release; the second press is the double click
}

TEST(Bounds, FollowTheRealWindowWhoeverMovesOrSizesIt) {
  auto window = NewWindow();
  Probe* child = window->Add(10, 10);
  window->Show();
  // Moved and sized from outside the framework, as the user's drag or the system does.
  SetWindowPos(window->Handle(), nullptr, 220, 170, 250, 180, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(window->Left(), 220);
  EXPECT_EQ(window->Top(), 170);
  EXPECT_EQ(window->Width(), 250);
  EXPECT_EQ(window->Height(), 180);
  // A child's place is in its parent's client coordinates, and handlers already read the new one.
  MoveWindow(child->Handle(), 30, 40, 50, 25, TRUE);
  EXPECT_EQ(child->SeenOnMove.x, 30);
  EXPECT_EQ(child->SeenOnMove.y, 40);
  EXPECT_EQ(child->Width(), 50);
  EXPECT_EQ(child->Height(), 25);

  // Setting the real value again does nothing; the held one of before the move is no longer
  // taken for it.
  child->PlaceChanges = 0;
  child->SetLeft(30);
  child->SetBounds(30, 40, 50, 25);
  EXPECT_EQ(child->PlaceChanges, 0);
  window->SetTop(20);
  window->SetLeft(20);
  RECT r;
  GetWindowRect(window->Handle(), &r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 250);
  window->SetBounds(300, 60, 200, 160);
  GetWindowRect(window->Handle(), &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 160);
}

TEST(Bitmap, ResourcesLoadByNameAsTheCompiledFile) {
  TBitmap strip;
  strip.LoadFromResourceName(GetModuleHandleW(nullptr), "CHECKBOX");
  const std::vector<uint8_t> file = [] {
    FILE* f = _wfopen(
        Widen(std::string(TIVOLU_SOURCE_DIR) + "/build/art/pictures/CHECKBOX.bmp").c_str(), L"rb");
    std::vector<uint8_t> bytes;
    if (!f) return bytes;
    for (int c; (c = fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    fclose(f);
    return bytes;
  }();
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(strip.GetImage(), ReadBmpFile(file));
  EXPECT_EQ(strip.TransparentColor(), static_cast<TColor>(RGB(255, 0, 255)));

  EXPECT_THROW(strip.LoadFromResourceName(GetModuleHandleW(nullptr), "NO SUCH PICTURE"),
               EResNotFound);
  EXPECT_EQ(strip.Width(), 1008);  // unchanged

  // The mask of a part: 1 where the part has the colour.
  TBitmap mask;
  strip.CopyMask(mask, {0, 14, 18, 18}, RGB(255, 0, 255));
  ASSERT_TRUE(mask.Monochrome());
  ASSERT_EQ(mask.Width(), 18);
  ASSERT_EQ(mask.Height(), 4);
  const PaletteEntry kMagenta{255, 0, 255, 0};
  const Image& bits = mask.GetImage();
  const Image& picture = strip.GetImage();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 18; ++x)
      EXPECT_EQ(bits.Index(x, y) == 1, picture.Colour(x, y + 14) == kMagenta) << x << "," << y;
}

// A graphic control that counts its paints and the state it finds the canvas in, and says
// whether it paints.
class Painter : public TGraphicControl {
 public:
  explicit Painter(TComponent* owner) : TGraphicControl(owner) {}
  bool Painting = true;
  int Painted = 0;
  POINT Origin{};
  bool Paints() const override { return Painting; }
  void Paint() override {
    ++Painted;
    GetViewportOrgEx(Canvas()->Handle(), &Origin);
    SetViewportOrgEx(Canvas()->Handle(), 99, 99, nullptr);  // left for the next control to find
  }
};

TEST(GraphicControls, TheParentPaintsOnlyThoseThatPaintEachAtItsPlace) {
  auto window = NewWindow();
  Painter* controls[3];
  for (int i = 0; i < 3; ++i) {
    controls[i] = new Painter(window.get());
    controls[i]->SetParent(window.get());
    controls[i]->SetBounds(10 + 40 * i, 20, 30, 30);
  }
  controls[1]->Painting = false;
  window->Show();
  ASSERT_TRUE(PumpUntil([&] { return controls[2]->Painted > 0; }));
  const int shown = controls[0]->Painted;
  InvalidateRect(window->Handle(), nullptr, FALSE);
  UpdateWindow(window->Handle());
  EXPECT_EQ(controls[0]->Painted, shown + 1);
  EXPECT_EQ(controls[1]->Painted, 0);
  EXPECT_EQ(controls[2]->Painted, shown + 1);
  EXPECT_EQ(controls[0]->Origin.x, 10);
  EXPECT_EQ(controls[2]->Origin.x, 90);  // not what the one before it left
  EXPECT_EQ(controls[2]->Origin.y, 20);
}

}  // namespace
