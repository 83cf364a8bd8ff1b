// Long random runs of what the outside world can do, checking after every step what must always
// hold, whatever happened before.
#include <gtest/gtest.h>

#include <random>

#include "app/fake_outside.h"
#include "app/markup.h"
#include "app/state.h"
#include "app/synchroniser.h"

namespace {

const std::vector<std::wstring> kCaptions = {L"1. A - B - Winamp",
                                             L"1. A - B - Winamp [Paused]",
                                             L"1. A - B - Winamp [Stopped]",
                                             L"2. <i>C</i> & \"D\" - Winamp",
                                             L"2. <i>C</i> & \"D\" - Winamp [Paused]",
                                             L"no track here",
                                             L"3. - Winamp",
                                             L"Winamp v5 - Winamp [Paused]",
                                             L""};
const std::vector<std::wstring> kUserMoods = {L"", L"Busy", L"<b>bold</b>", L"Ünïcødé ♫"};

// The text the player's state asks for: a markup, or "" to put the saved mood back.
std::wstring Wanted(const FakeOutside& world) {
  if (world.playerWindow <= 0) return {};
  const bool stopped = ContainsText(world.caption, L" - Winamp [Stopped]");
  if (stopped) return {};
  const std::wstring track = TrackFromCaption(world.caption);
  if (ContainsText(world.caption, L" - Winamp [Paused]")) {
    return FormatPausedMood(FormatPlayingMood(track));
  }
  return track.empty() ? std::wstring() : FormatPlayingMood(track);
}

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
        mWorld.Show(kCaptions[Pick(kCaptions.size())]);
        break;
      case 1:
        mWorld.ClosePlayer();
        break;
      case 2:
        mWorld.chatWindow = mWorld.chatWindow > 0 ? 0 : 77;
        break;
      case 3:
        mWorld.mood = kUserMoods[Pick(kUserMoods.size())];
        mUserEdited = true;
        break;
      case 4:
        mWorld.failReads = static_cast<int>(Pick(3));
        break;
      case 5:
        mWorld.failWrites = static_cast<int>(Pick(3));
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
    const std::size_t writesBefore = mWorld.writes.size();
    const int failuresBefore = mWorld.failWrites;
    const std::wstring savedBefore = gInitialMood;
    mSync.tmrTimer_Timer();
    const std::size_t written = mWorld.writes.size() - writesBefore;
    ASSERT_LE(written, 1U) << "at most one write per tick";
    if (written == 1) {
      mUserEdited = false;
      const std::wstring& text = mWorld.writes.back();
      EXPECT_TRUE(IsOwnMarkup(text) || text == gInitialMood || text == savedBefore)
          << "a write carries a markup or the saved mood";
    }
    const bool writeFailed = mWorld.failWrites != failuresBefore;
    if (gEnabled && mWorld.chatWindow > 0 && gInitialMoodKnown && !writeFailed) {
      EXPECT_EQ(mSync.CurrentMood(), Wanted(mWorld)) << "the chat client shows what is wanted";
    }
    if (!mSync.CurrentMood().empty() && !mUserEdited) {
      EXPECT_EQ(mWorld.mood, mSync.CurrentMood()) << "what we recorded is what was written";
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
  bool mUserEdited = false;  // the user typed over the chat client's mood since our last write
  FakeOutside mWorld;
  FakeForm mForm;
  Synchroniser mSync{mWorld, mForm};
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
