#include "app/synchroniser.h"

#include <optional>
#include <utility>

#include "app/markup.h"
#include "app/state.h"

namespace {

// Marks a handler as running for its whole extent. A handler entered while another runs (the
// unload, from a close that arrives while a call waits) leaves the other one marked.
class HandlerScope {
 public:
  explicit HandlerScope(bool& flag) : mFlag(flag), mFound(std::exchange(flag, true)) {}
  ~HandlerScope() { mFlag = mFound; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  bool& mFlag;
  bool mFound;
};

// Tells whether the end's put-back wrote while a call waited, which a call that runs messages
// allows: the call's answer then tells of a moment that has passed.
class PutBackWatch {
 public:
  explicit PutBackWatch(const int& writes) : mWrites(writes), mBefore(writes) {}
  bool Overtaken() const { return mWrites != mBefore; }

 private:
  const int& mWrites;
  int mBefore;
};

}  // namespace

void SaveInitialMood(const std::wstring& live) {
  gInitialMood = IsOwnMarkup(live) ? std::wstring() : live;
  gInitialMoodKnown = true;
}

void Synchroniser::tmrTimer_Timer() {
  if (mInHandler) return;  // the next tick comes a second later
  {
    const HandlerScope scope(mInHandler);
    const WindowHandle chat = mOutside.FindSkypeWindow();
    const std::optional<std::wstring> live = FollowSavedMood(chat);
    if (OursMayShow()) {
      FollowPlayer(chat, live);
      // The end came while the chat client was being asked, and its put-back is done: a text of
      // ours that landed after it must not stay.
      if (!OursMayShow()) ReplaceOursWithSaved(chat);
    } else if (live) {
      ReplaceOursWithSaved(chat);  // held at the end: the user's text, never ours
    }
    if (Unloaded()) return;  // the window is going: nothing to report on
  }
  mForm.ShowDebugInformation();
  RunPendingClicks();
}

// Returns the mood text read, if the read succeeded.
std::optional<std::wstring> Synchroniser::FollowSavedMood(WindowHandle chat) {
  if (chat <= 0) {
    mCurrentMood.clear();
    gInitialMood.clear();
    gInitialMoodKnown = false;
    mLeftOverUnread = false;
    return std::nullopt;
  }
  // A put-back that overtook the read may have written over what it found: what shows now is read
  // again, once.
  std::wstring live;
  bool answerStale = true;
  for (int read = 0; answerStale && read < 2; ++read) {
    const PutBackWatch watch(mPutBackWrites);
    if (!mOutside.GetSkypeMood(live)) return std::nullopt;
    answerStale = watch.Overtaken();
  }
  // Switched off, our text is only left over from a switch-off that could not put the user's
  // back; once the user types over it, theirs stands and ours is gone. So too when switched on
  // again before a tick has seen it, and for a write that may not have landed.
  const bool leftOver = !gEnabled || mLeftOverUnread;
  if (leftOver && !mCurrentMood.empty() && live != mCurrentMood) mCurrentMood.clear();
  mLeftOverUnread = false;
  if (!gInitialMoodKnown) {
    SaveInitialMood(live);
  } else if (mCurrentMood.empty() && live != gInitialMood && !IsOwnMarkup(live)) {
    gInitialMood = live;  // the user changed it while nothing of ours was shown
  }
  // A link of ours that a read finds is what shows of ours, recorded or not: one left when the
  // chat client closed while it showed one, by a run that ended without putting the user's text
  // back (which Main's capture saved as ""), by a write given up on that landed late, or an older
  // one that a write which failed left standing. Ours to put back once no track is wanted,
  // whichever capture saw it.
  if (!answerStale && IsOwnMarkup(live)) mCurrentMood = live;
  return live;
}

// The player is asked whatever the switch says. A tick writes only over a text it has just read:
// one that the user typed since the last tick would otherwise be lost unseen. Switched off, only
// the user's text is put back, over a text of ours left from a failed switch-off where the read
// still found it (one the user typed over is gone from mCurrentMood already).
void Synchroniser::FollowPlayer(WindowHandle chat, const std::optional<std::wstring>& live) {
  const std::optional<std::wstring> markup = WantedMarkup();
  if (!live) return;
  if (gEnabled && markup) {
    Write(*markup, chat);
  } else {
    ReplaceOursWithSaved(chat);
  }
}

// The markup of the player's track, or nothing when the user's own text is wanted.
std::optional<std::wstring> Synchroniser::WantedMarkup() {
  if (mOutside.FindWinampWindow() <= 0 || mOutside.IsWinampStopped()) return std::nullopt;
  const std::wstring track = mOutside.GetWinampCurrentTrack();
  if (mOutside.IsWinampPaused()) return FormatPausedMood(FormatPlayingMood(track));
  if (track.empty()) return std::nullopt;
  return FormatPlayingMood(track);
}

// A write that a put-back overtook, when the session then went on, may show or not: what shows now
// tells. Once the end began, one that a put-back overtook, or that failed over the user's text, may
// still land (a write the component gave up waiting for lands late): recorded as ours but unread,
// it is put back by the put-backs that follow, and the next read tells whether it shows. One that
// failed over a link of ours leaves that link recorded: it shows until the write lands, which the
// next read finds.
void Synchroniser::Write(const std::wstring& markup, WindowHandle chat) {
  if (markup == mCurrentMood || chat <= 0 || !gInitialMoodKnown) return;
  const PutBackWatch watch(mPutBackWrites);
  const bool written = mOutside.SetSkypeMood(markup);
  if (watch.Overtaken() && OursMayShow()) {
    const PutBackWatch reread(mPutBackWrites);
    std::wstring live;
    if (mOutside.GetSkypeMood(live) && !reread.Overtaken()) {
      if (live == markup) mCurrentMood = markup;
      return;
    }
  }
  const bool unknown = watch.Overtaken() || (!written && !OursMayShow() && mCurrentMood.empty());
  if (written || unknown) mCurrentMood = markup;
  mLeftOverUnread = unknown;
}

void Synchroniser::mnuEnabled_Click() {
  ++mPendingClicks;
  if (!mInHandler) RunPendingClicks();
}

// Also picks up the clicks that arrive while one of them waits in a call to the chat client.
void Synchroniser::RunPendingClicks() {
  while (mPendingClicks > 0) {
    --mPendingClicks;
    const HandlerScope scope(mInHandler);
    SwitchOver();
  }
}

void Synchroniser::SwitchOver() {
  if (!gEnabled) {
    mForm.SetEnabledChecked(true);
    gEnabled = true;
    mLeftOverUnread = !mCurrentMood.empty();
    return;  // the next tick writes the track
  }
  mForm.SetEnabledChecked(false);
  gEnabled = false;
  WriteSavedOnce();
}

void Synchroniser::Form_Unload() {
  const HandlerScope scope(mInHandler);
  mForm.StopTimer();
  WriteSavedWithRetries();
  mPendingClicks = 0;  // the program ends: a switch given by now has nothing left to act on
  mForm.ClearWindow();
}

// Clicks given meanwhile wait for the next tick, or go with the unload.
void Synchroniser::PutBackBeforeTheSessionEnds() {
  const HandlerScope scope(mInHandler);
  WriteSavedWithRetries();
}

void Synchroniser::PutBackWhatLanded() {
  if (mCurrentMood.empty()) return;
  const HandlerScope scope(mInHandler);
  WriteSavedWithRetries();
}

// The tick's restore: the saved text over a text of ours, once; the next tick tries again.
void Synchroniser::ReplaceOursWithSaved(WindowHandle chat) {
  if (mCurrentMood.empty() || chat <= 0 || !gInitialMoodKnown) return;
  if (mOutside.SetSkypeMood(gInitialMood)) mCurrentMood.clear();
}

// The switch-off's restore: the saved text over whatever is shown, once.
void Synchroniser::WriteSavedOnce() {
  if (mOutside.FindSkypeWindow() > 0 && gInitialMoodKnown && mOutside.SetSkypeMood(gInitialMood)) {
    mCurrentMood.clear();
  }
}

// The end's restore: no tick follows to try again, and a text of ours left behind is not the
// user's to the next start, so a passing failure gets a few more attempts.
void Synchroniser::WriteSavedWithRetries() {
  constexpr int kAttempts = 3;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (mOutside.FindSkypeWindow() <= 0 || !gInitialMoodKnown) break;
    ++mPutBackWrites;
    if (mOutside.SetSkypeMood(gInitialMood)) {
      mCurrentMood.clear();
      break;
    }
  }
}
