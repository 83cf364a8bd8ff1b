#pragma once

#include "app/outside.h"

// What start-up needs of the running system.
class Program {
 public:
  virtual ~Program() = default;

  virtual bool IsAnotherCopyRunning() = 0;
  // Loads the main window (which starts its timer) and shows it.
  virtual void LoadAndShowFrmMain() = 0;
};

// Start-up: refuses a second copy, saves the user's own mood text, switches synchronisation off
// and opens the window. Returns once the window is shown.
void Main(Outside& outside, Program& program);
