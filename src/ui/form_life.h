#pragma once

#include <cstdint>
#include <string_view>

#include "app/form_window.h"
#include "app/outside.h"
#include "app/synchroniser.h"
#include "ui/form_mouse.h"

// What the window's life needs of the window beyond the synchroniser's share.
class FormShell : public FormWindow {
 public:
  // Destroys the window; the program's one reference to it goes with it.
  virtual void Release() = 0;
  // Ends the message loop: the program ends.
  virtual void PostQuit() = 0;
  // While the session's end waits for us, Windows shows the user why.
  virtual void BlockShutdown(std::wstring_view reason) = 0;
  virtual void AllowShutdown() = 0;
};

// frmMain's life as Windows drives it: its handlers, every way it is unloaded (Exit, the close
// button, the end of the session, a quit message from outside) and its end. The window
// procedure and the message loop only unpack messages and call these.
class FormLife {
 public:
  FormLife(Outside& outside, FormShell& form) : mForm(form), mSync(outside, form), mMouse(mSync) {}
  FormLife(const FormLife&) = delete;
  FormLife& operator=(const FormLife&) = delete;

  void tmrTimer_Timer();
  void mnuEnabled_Click();
  void Form_MouseDown(std::int16_t button) { mMouse.Form_MouseDown(button); }
  void Form_DblClick();
  void mnuExit_Click() { Unload(); }
  // The close button, the system menu's Close, or WM_CLOSE from anyone.
  void Form_Close() { Unload(); }
  // Windows asks whether the session may end: it may, and nothing changes until it does.
  bool Form_QueryEndSession() { return true; }
  // False: another program cancelled the end of the session, and the program goes on.
  void Form_EndSession(bool ending);
  // The message loop took a quit message, and ends with it.
  void QuitTaken();

  const Synchroniser& Sync() const { return mSync; }

 private:
  void Unload();
  void EndOnceNoCallWaits();

  FormShell& mForm;
  Synchroniser mSync;
  FormMouse mMouse;
  bool mUnloading = false;
  bool mQuitSent = false;
};
