// Long random runs of what the outside world can do, checking after every step what must always
// hold, whatever happened before.
#include <gtest/gtest.h>

#include <random>

#include "app/markup.h"
#include "app/state.h"
#include "app/synchroniser.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_world.h"

namespace {

// The player's captions, each with the text it asks for: a markup, or "" to put the saved mood
// back.
struct Shown {
  std::wstring caption;
  std::wstring wanted;
};
const std::vector<Shown> kCaptions = {
    {L"1. A - B - Winamp", FormatPlayingMood(L"A - B")},
    {L"1. A - B - Winamp [Paused]", FormatPausedMood(FormatPlayingMood(L"A - B"))},
    {L"1. A - B - Winamp [Stopped]", L""},
    {L"2. <i>C</i> & \"D\" - Winamp", FormatPlayingMood(L"<i>C</i> & \"D\"")},
    {L"2. <i>C</i> & \"D\" - Winamp [Paused]",
     FormatPausedMood(FormatPlayingMood(L"<i>C</i> & \"D\""))},
    {L"no track here", L""},
    {L"3. - Winamp", L""},
    {L"Winamp v5 - Winamp [Paused]", FormatPausedMood(FormatPlayingMood(L""))},
    {L"", L""}};
const std::vector<std::wstring> kUserMoods = {L"", L"Busy", L"<b>bold</b>", L"Ünïcødé ♫"};

class RandomWorld {
 public:
  explicit RandomWorld(unsigned seed) : mRandom(seed) {
    gInitialMood.clear();
    gInitialMoodKnown = false;
    gEnabled = false;
  }

  void Step() {
    switch (Pick(9)) {
      case 0:
        mShown = kCaptions[Pick(kCaptions.size())];
        mWorld.Show(mShown.caption);
        break;
      case 1:
        mShown = {};
        mWorld.ClosePlayer();
        break;
      case 2:
        mChatRuns = !mChatRuns;
        mChatRuns ? mWorld.OpenChat() : mWorld.CloseChat();
        break;
      case 3:
        mWorld.chat.mood = kUserMoods[Pick(kUserMoods.size())];
        mUserEdited = true;
        break;
      case 4:
        mWorld.FailReads(static_cast<int>(Pick(3)));
        break;
      case 5:
        mWorld.FailWrites(static_cast<int>(Pick(3)));
        break;
      case 6:
        mSync.mnuEnabled_Click();
        break;
      default:
        Tick();
        break;
    }
    CheckInvariants();
  }

 private:
  void Tick() {
    const std::size_t writesBefore = mWorld.outside.writes.size();
    const int writeFailuresBefore = mWorld.chat.failNext[L"WriteMood"];
    const int readFailuresBefore = mWorld.chat.failNext[L"ReadMood"];
    const std::wstring savedBefore = gInitialMood;
    mSync.tmrTimer_Timer();
    const std::size_t written = mWorld.outside.writes.size() - writesBefore;
    ASSERT_LE(written, 1U) << "at most one write per tick";
    if (written == 1) {
      mUserEdited = false;
      const std::wstring& text = mWorld.outside.writes.back();
      EXPECT_TRUE(IsOwnMarkup(text) || text == gInitialMood || text == savedBefore)
          << "a write carries a markup or the saved mood";
    }
    // A tick whose read failed writes nothing: the user may have typed since the last one.
    const bool failed = mWorld.chat.failNext[L"WriteMood"] != writeFailuresBefore ||
                        mWorld.chat.failNext[L"ReadMood"] != readFailuresBefore;
    if (gEnabled && mChatRuns && gInitialMoodKnown && !failed) {
      EXPECT_EQ(mSync.CurrentMood(), mShown.wanted) << "the chat client shows what is wanted";
    }
    if (!mSync.CurrentMood().empty() && !mUserEdited) {
      EXPECT_EQ(mWorld.chat.mood, mSync.CurrentMood()) << "what we recorded is what was written";
    }
  }

  void CheckInvariants() {
    if (!gInitialMoodKnown) {
      EXPECT_EQ(gInitialMood, L"");
    }
    if (!mSync.CurrentMood().empty()) {
      EXPECT_TRUE(gInitialMoodKnown);
      EXPECT_TRUE(IsOwnMarkup(mSync.CurrentMood()));
    }
    EXPECT_FALSE(IsOwnMarkup(gInitialMood)) << "our markup is never the user's own text";
    EXPECT_EQ(mForm.checked, gEnabled);
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(mRandom);
  }

  std::mt19937 mRandom;
  Shown mShown;  // a closed player wants "" too
  bool mChatRuns = false;
  bool mUserEdited = false;  // the user typed over the chat client's mood since our last write
  FakeWorld mWorld;
  FakeForm mForm;
  Synchroniser mSync{mWorld.outside, mForm};
};

TEST(SynchroniserModel, InvariantsHoldThroughLongRandomRuns) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE(seed);
    RandomWorld run(seed);
    for (int step = 0; step < 500; ++step) {
      run.Step();
      if (::testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
