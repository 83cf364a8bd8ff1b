#pragma once

#include <optional>
#include <string>

#include "app/form_window.h"
#include "app/outside.h"

// The main window's share of synchronisation: the text it last wrote and the handlers of the
// tick, the enable switch and the unload. One lives for as long as the window.
class Synchroniser {
 public:
  // Loading the window: nothing of ours is shown yet.
  Synchroniser(Outside& outside, FormWindow& form) : mOutside(outside), mForm(form) {}
  Synchroniser(const Synchroniser&) = delete;
  Synchroniser& operator=(const Synchroniser&) = delete;

  void tmrTimer_Timer();
  void mnuEnabled_Click();
  void Form_Unload();
  // Once the message loop has taken its quit message, after the unload.
  void RestoreAfterQuit();

  // The mood text this program last wrote to the chat client; "" when it shows nothing of ours.
  const std::wstring& CurrentMood() const { return mCurrentMood; }
  // Switched on again over a text of ours left by a failed switch-off, which no tick has read
  // since: whether the user typed over it is not known yet.
  bool LeftOverUnread() const { return mLeftOverUnread; }
  // A handler runs, and may wait in a call to the chat client.
  bool InHandler() const { return mInHandler; }

 private:
  std::optional<std::wstring> FollowSavedMood(WindowHandle chat);
  void FollowPlayer(WindowHandle chat, const std::optional<std::wstring>& live);
  std::optional<std::wstring> WantedMarkup();
  void Restore(WindowHandle chat);
  void Write(const std::wstring& markup, WindowHandle chat);
  void PutBack();
  void RunPendingClicks();
  void SwitchOver();

  Outside& mOutside;
  FormWindow& mForm;
  std::wstring mCurrentMood;
  // A call into the chat client may pump messages, and no handler may start inside another: a
  // tick that finds one running is skipped, a click of Enabled waits until it has finished.
  bool mInHandler = false;
  int mPendingClicks = 0;
  bool mUnloaded = false;
  bool mLeftOverUnread = false;
};

// Saves the user's own mood text as read from the chat client. A text that is one of our own
// markups (left behind when the chat client closed while a track was shown, or when the program
// was killed) is not the user's: it is saved as "", so that a restore clears it.
void SaveInitialMood(const std::wstring& live);
