#include "app/synchroniser.h"

#include "app/markup.h"
#include "app/state.h"

namespace {

// Marks a handler as running for its whole extent.
class HandlerScope {
 public:
  explicit HandlerScope(bool& flag) : mFlag(flag) { mFlag = true; }
  ~HandlerScope() { mFlag = false; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  bool& mFlag;
};

}  // namespace

void SaveInitialMood(const std::wstring& live) {
  gInitialMood = IsOwnMarkup(live) ? std::wstring() : live;
  gInitialMoodKnown = true;
}

void Synchroniser::tmrTimer_Timer() {
  if (mInHandler) return;  // the next tick comes a second later
  {
    HandlerScope scope(mInHandler);
    const WindowHandle chat = mOutside.FindSkypeWindow();
    FollowSavedMood(chat);
    FollowPlayer(chat);
  }
  mForm.ShowDebugInformation();
}

void Synchroniser::FollowSavedMood(WindowHandle chat) {
  if (chat <= 0) {
    mCurrentMood.clear();
    gInitialMood.clear();
    gInitialMoodKnown = false;
    return;
  }
  std::wstring live;
  if (!mOutside.GetSkypeMood(live)) return;
  if (!gInitialMoodKnown) {
    SaveInitialMood(live);
  } else if (mCurrentMood.empty() && live != gInitialMood && !IsOwnMarkup(live)) {
    gInitialMood = live;  // the user changed it while nothing of ours was shown
  }
}

void Synchroniser::FollowPlayer(WindowHandle chat) {
  if (mOutside.FindWinampWindow() <= 0 || mOutside.IsWinampStopped()) {
    Restore(chat);
    return;
  }
  const std::wstring track = mOutside.GetWinampCurrentTrack();
  if (mOutside.IsWinampPaused()) {
    Write(FormatPausedMood(FormatPlayingMood(track)), chat);
  } else if (track.empty()) {
    Restore(chat);
  } else {
    Write(FormatPlayingMood(track), chat);
  }
}

void Synchroniser::Restore(WindowHandle chat) {
  if (!gEnabled || mCurrentMood.empty() || chat <= 0 || !gInitialMoodKnown) return;
  if (mOutside.SetSkypeMood(gInitialMood)) mCurrentMood.clear();
}

void Synchroniser::Write(const std::wstring& markup, WindowHandle chat) {
  if (!gEnabled || markup == mCurrentMood || chat <= 0 || !gInitialMoodKnown) return;
  if (mOutside.SetSkypeMood(markup)) mCurrentMood = markup;
}

void Synchroniser::mnuEnabled_Click() {
  HandlerScope scope(mInHandler);
  if (!gEnabled) {
    mForm.SetEnabledChecked(true);
    gEnabled = true;
    return;  // the next tick writes the track
  }
  mForm.SetEnabledChecked(false);
  gEnabled = false;
  if (mOutside.FindSkypeWindow() > 0 && gInitialMoodKnown && mOutside.SetSkypeMood(gInitialMood)) {
    mCurrentMood.clear();
  }
}

void Synchroniser::Form_Unload() {
  HandlerScope scope(mInHandler);
  mForm.StopTimer();
  if (mOutside.FindSkypeWindow() > 0 && gInitialMoodKnown) mOutside.SetSkypeMood(gInitialMood);
  mForm.ClearWindow();
}
