#pragma once

#include <optional>
#include <string>

#include "app/form_window.h"
#include "app/outside.h"

// What the window's life lets the synchroniser do at this moment. The window's life decides both
// answers, and may change them inside any call into the chat client.
class WindowLife {
 public:
  // A text of ours may be written and may stand: the window runs and no end of the session waits.
  virtual bool OursMayShow() const = 0;
  // The window is being unloaded or is gone: nothing is reported and no click is taken.
  virtual bool Unloaded() const = 0;

 protected:
  ~WindowLife() = default;
};

// The main window's share of synchronisation: the text it last wrote and the handlers of the
// tick, the enable switch and the unload. It outlives the window: the message loop's quit may
// still call on it once the window is gone.
class Synchroniser {
 public:
  // Loading the window: nothing of ours is shown yet. Without a window's life, it always runs.
  Synchroniser(Outside& outside, FormWindow& form) : mOutside(outside), mForm(form) {}
  Synchroniser(Outside& outside, FormWindow& form, const WindowLife& life)
      : mOutside(outside), mForm(form), mLife(&life) {}
  Synchroniser(const Synchroniser&) = delete;
  Synchroniser& operator=(const Synchroniser&) = delete;

  void tmrTimer_Timer();
  void mnuEnabled_Click();
  // The unload's work: the timer off, the saved text back, the window cleared.
  void Form_Unload();
  // Windows asks whether the session may end: the saved text back while the chat client surely
  // still runs, as the unload puts it back.
  void PutBackBeforeTheSessionEnds();
  // Once the message loop has taken its quit: a write given up on while the quit waited may have
  // landed after the unload's put-back.
  void PutBackWhatLanded();

  // The mood text this program last wrote to the chat client; "" when it shows nothing of ours.
  const std::wstring& CurrentMood() const { return mCurrentMood; }
  // A text of ours that no tick has read since, and that may not show: left by a failed
  // switch-off before switching on again, or by a write that a put-back overtook or that failed
  // once the end began. Whether it landed, or the user typed over it, is not known yet.
  bool LeftOverUnread() const { return mLeftOverUnread; }
  // A handler runs, and may wait in a call to the chat client.
  bool InHandler() const { return mInHandler; }

 private:
  bool OursMayShow() const { return mLife == nullptr || mLife->OursMayShow(); }
  bool Unloaded() const { return mLife != nullptr && mLife->Unloaded(); }
  std::optional<std::wstring> FollowSavedMood(WindowHandle chat);
  void FollowPlayer(WindowHandle chat, const std::optional<std::wstring>& live);
  std::optional<std::wstring> WantedMarkup();
  void Write(const std::wstring& markup, WindowHandle chat);
  void ReplaceOursWithSaved(WindowHandle chat);
  void WriteSavedOnce();
  void WriteSavedWithRetries();
  void RunPendingClicks();
  void SwitchOver();

  Outside& mOutside;
  FormWindow& mForm;
  const WindowLife* mLife = nullptr;
  std::wstring mCurrentMood;
  // A call into the chat client may pump messages, and no handler may start inside another: a
  // tick that finds one running is skipped, a click of Enabled waits until it has finished.
  bool mInHandler = false;
  int mPendingClicks = 0;
  bool mLeftOverUnread = false;
  // How many writes the end's put-backs have made. One made inside a call of a tick, as the call
  // waits, makes the call's answer stale: it tells of a moment that has passed.
  int mPutBackWrites = 0;
};

// Saves the user's own mood text as read from the chat client. A text that is one of our own
// markups (left behind when the chat client closed while a track was shown, or when the program
// was killed) is not the user's: it is saved as "", so that a restore clears it.
void SaveInitialMood(const std::wstring& live);
