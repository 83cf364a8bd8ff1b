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

// Where the window's life stands; form_life.cpp tells what each message does in each.
enum class Stage : std::uint8_t {
  Running,       // the tick writes the track while switched on
  SessionAsked,  // Windows asked to end the session: the user's text is back, and no text of ours
                 // is written until Windows tells how it ended
  Unloading,     // the first unload puts the user's text back; the window is still there
  WindowGone,    // released; the quit message waits until no call into the chat client waits
  QuitPosted,    // the quit message is on its way to the message loop
  Ended,         // the message loop has taken its quit
};

// frmMain's life as Windows drives it: its handlers, every way it is unloaded (Exit, the close
// button, the end of the session, a quit message from outside) and its end. The window
// procedure and the message loop only unpack messages and call these.
class FormLife final : private WindowLife {
 public:
  FormLife(Outside& outside, FormShell& form) : mForm(form), mSync(outside, form, *this) {}
  FormLife(const FormLife&) = delete;
  FormLife& operator=(const FormLife&) = delete;

  void tmrTimer_Timer();
  void mnuEnabled_Click();
  void Form_MouseDown(std::int16_t button) { mMouse.Form_MouseDown(button); }
  // Any button's double-click, as Windows reports it in place of the second press.
  void Form_DblClick();
  // Exit unloads as the close does.
  void mnuExit_Click() { Form_Close(); }
  // The close button, the system menu's Close, or WM_CLOSE from anyone.
  void Form_Close();
  // WM_QUERYENDSESSION, whatever its reason: always true, once the user's text is back.
  bool Form_QueryEndSession();
  // WM_ENDSESSION: true, the session ends now; false, it was cancelled and the program goes on.
  void Form_EndSession(bool ending);
  // The message loop took a quit message and has ended: from here only a component's own wait
  // still runs the window's messages.
  void QuitTaken();

  Stage Now() const { return mStage; }
  const Synchroniser& Sync() const { return mSync; }

 private:
  bool OursMayShow() const override;
  bool Unloaded() const override;
  void Unload();
  void PostQuitOnceNoCallWaits();

  FormShell& mForm;
  Stage mStage = Stage::Running;
  Synchroniser mSync;
  FormMouse mMouse;
};
