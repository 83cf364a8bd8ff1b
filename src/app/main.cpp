#include "app/main.h"

#include "app/state.h"
#include "app/synchroniser.h"

void Main(Outside& outside, Program& program) {
  if (program.IsAnotherCopyRunning()) return;
  gInitialMood.clear();
  gInitialMoodKnown = false;
  if (outside.FindSkypeWindow() > 0) {
    std::wstring live;
    if (outside.GetSkypeMood(live)) SaveInitialMood(live);
  }
  gEnabled = false;
  program.LoadAndShowFrmMain();
}
