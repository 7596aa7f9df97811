#pragma once
// Out of the way of full-screen programs. While the foreground window is another program's and
// fills a monitor (a film, a presentation, a game), the characters on that monitor leave the top
// and lie behind it, walking on there; once it no longer fills it, is in the background or is
// gone, they are topmost again. Characters on other monitors stay as they are, and so do
// the settings. (Under Wine a character behind is also off the X display meanwhile: Wine never
// lowers a window there.) Checked twice a second with a few reads of the system, and no window is
// changed unless the answer changed: nothing else ever puts a character back on top meanwhile.
#include <functional>
#include <optional>
#include <vector>

#include "framework/core/screen_areas.h"
#include "framework/extctrls.h"
#include "framework/forms.h"

// The foreground window as the check needs it.
struct ForegroundWindow {
  HWND Handle = nullptr;
  WindowShape Shape;
  bool Topmost = false;
};
// The foreground window when it is a shown, not minimised window of another program, and neither
// the desktop nor one of the shell's own (its desktop and task bars); nullopt otherwise.
std::optional<ForegroundWindow> OtherProgramsForeground();

class TFullScreenWatch : public TComponent {
 public:
  // The windows that step aside, read at every check; null ones, and those that do not stay on
  // top by their form style, are left out.
  using WindowList = std::function<std::vector<TForm*>()>;
  // The checks come on the walkers' timer, every so many of its TICK ms, so that one wake-up of
  // the program serves both.
  TFullScreenWatch(TComponent* owner, WindowList characters, unsigned tick);

  // One check: each character behind the foreground window when that fills the character's
  // monitor, else on top; only a character whose answer changed is moved.
  void Check();

  // Where the check reads the foreground window (tests replace it).
  inline static std::optional<ForegroundWindow> (*ReadForeground)() = OtherProgramsForeground;
  static constexpr unsigned kInterval = 500;

 private:
  // The characters placed behind a full-screen window, and that window.
  struct Aside {
    HWND Window;
    HWND Behind;
  };
  WindowList characters_;
  std::vector<Aside> aside_;
  unsigned ticksPerCheck_;
  unsigned ticks_ = 0;
  TTimer timer_;
};
