#include "app/explorer/ghost.h"

#include <functional>

#include "app/markup.h"

namespace explorer {

void Ghost::ChatLost() {
  mUsersText.reset();
  mAlternative.reset();
  mReadSinceFound = false;
}

// A capture reads the user's text; our markup there is nobody's text.
void Ghost::Read(const std::wstring& live, bool capture, bool enabled) {
  mReadSinceFound = true;
  // A text of ours left over that the user replaced is gone: the program counts it so too.
  if (mLeftOver && !IsOwnMarkup(live)) mOursShown = false;
  if (enabled) mLeftOver = false;
  if (mAlternative != live) mAlternative.reset();
  if (capture) {
    mUsersText = IsOwnMarkup(live) ? std::wstring() : live;
    // Any capture takes a link of ours for shown by us, left over while switched off.
    mOursShown = IsOwnMarkup(live);
    mLeftOver = mOursShown && !enabled;
    mUndecided = false;
    mTyped.reset();
    mTypedInCall = false;
  } else if (mUndecided && live == mTyped) {
    mUsersText = live;
    mOursShown = false;
    mUndecided = false;
    mTyped.reset();
    mTypedInCall = false;
    mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
  } else if (mTyped == mUsersText && live == mTyped) {
    mTyped.reset();  // read, it is the program's to keep now
    mTypedInCall = false;
  }
}

void Ghost::Written(const std::wstring& text) {
  const bool markup = IsOwnMarkup(text);
  // The user's text typed while a call waited, overwritten unread: lost to the race. Ours over it
  // leaves the text the program knew; the saved text over it settles it as a put-back does.
  if (mTypedInCall && mTyped == mUsersText) {
    if (markup) {
      mUsersText = mKnownBeforeTyping;
      mAlternative = mTyped;
    } else {
      mUndecided = true;
    }
  }
  mTypedInCall = false;
  mLastWritten = text;
  mOursShown = markup;
  mOldLink.reset();
  mLeftOver = false;
  mTypedOver.reset();
  if (!markup && mUndecided) {
    if (mTyped != text) mAlternative = mTyped;
    mUsersText = text;
    mUndecided = false;
  } else if (!markup && mAlternative == text) {
    mUsersText = text;
    mAlternative.reset();
  }
  mTyped.reset();
}

// Typed over a track that we show while switched on, the text is not the user's to keep: the
// saved one comes back when the track ends. Anywhere else it is.
void Ghost::Typed(const std::wstring& over, const std::wstring& text, bool enabled, bool inCall) {
  if (inCall && !mTypedInCall) mKnownBeforeTyping = mUsersText;
  mTyped = text;
  mTypedInCall = inCall;
  mAlternative.reset();
  mOldLink.reset();
  mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
  if (mOursShown && enabled && !mLeftOver) {
    if (!mTypedOver) mTypedOver = over;
    return;
  }
  mUsersText = text;
  mOursShown = false;
  mLeftOver = false;
  mTypedOver.reset();
}

void Ghost::SwitchedOff() {
  if (mTyped) mUndecided = true;
  mLeftOver = mOursShown;
}

// Over a text typed over our track while switched on, which is not the user's to keep, the
// saved text is what the end puts back; over one the user typed elsewhere and no read has seen,
// the put-back may land or the text stand. Typed over our track, a text may equal the user's by
// chance: it is still not the user's typing.
void Ghost::PutBackStarts() {
  if (mTyped && mTyped == mUsersText && !mTypedOver) mUndecided = true;
}

bool Ghost::IsUsersText(const std::wstring& shown) const {
  if (!mUsersText || !mReadSinceFound) return true;
  // A link an earlier run left is what a capture saves as "": nobody's text.
  const std::wstring text = mOldLink == shown ? std::wstring() : shown;
  return text == *mUsersText || (mUndecided && text == mTyped);
}

bool Ghost::ShowsTrack(const std::wstring& shown, const std::wstring& wanted) const {
  return shown == wanted || mTypedOver == wanted;
}

std::uint64_t Ghost::Hash() const {
  std::uint64_t hash = 0;
  const auto mix = [&hash](std::uint64_t value) { Mix(hash, value); };
  const auto text = [](const std::optional<std::wstring>& value) -> std::uint64_t {
    return value ? std::hash<std::wstring>()(*value) : 1U;
  };
  mix(text(mUsersText));
  mix(mReadSinceFound);
  mix(mOursShown);
  mix(text(mOldLink));
  mix(mLeftOver);
  mix(text(mTyped));
  mix(text(mTypedOver));
  mix(mUndecided);
  mix(mTypedInCall);
  mix(mTypedInCall && mKnownBeforeTyping ? std::hash<std::wstring>()(*mKnownBeforeTyping) : 1U);
  mix(mAlternative ? std::hash<std::wstring>()(*mAlternative) : 1U);
  mix(text(mLastWritten));
  return hash;
}

}  // namespace explorer
