#include "ui/form_life.h"

void FormLife::tmrTimer_Timer() {
  mSync.tmrTimer_Timer();
  EndOnceNoCallWaits();
}

void FormLife::mnuEnabled_Click() {
  mSync.mnuEnabled_Click();
  EndOnceNoCallWaits();
}

void FormLife::Form_DblClick() {
  mMouse.Form_DblClick();
  EndOnceNoCallWaits();
}

void FormLife::Form_EndSession(bool ending) {
  if (!ending) return;
  // Windows may end the process the moment this returns, and asks the user after a few seconds
  // whether to end it: the reason tells what it waits for.
  mForm.BlockShutdown(L"Tunemood is putting your own mood text back.");
  Unload();
  mForm.AllowShutdown();
}

// While the window is there, the quit came from outside: a tool that ends programs, or a
// component. The program ends as Exit ends it, with the user's own mood text put back.
void FormLife::QuitTaken() {
  mQuitSent = true;
  if (mUnloading) {
    mSync.RestoreAfterQuit();
  } else {
    Unload();
  }
}

// Putting the mood back may pump messages, so an unload can arrive while another waits. Each one
// puts the user's mood back before it returns, since Windows may end the process as soon as a
// WM_ENDSESSION returns; only the first releases the window, once it is done.
void FormLife::Unload() {
  const bool first = !mUnloading;
  mUnloading = true;
  mSync.Form_Unload();
  if (first) mForm.Release();
  EndOnceNoCallWaits();
}

// A component's wait that takes the quit message gives up the call it waits for, and every later
// one while the message stays queued: the quit goes out once the handler that waits is done.
void FormLife::EndOnceNoCallWaits() {
  if (!mUnloading || mQuitSent || mSync.InHandler()) return;
  mQuitSent = true;
  mForm.PostQuit();
}
