#include "app/synchroniser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/markup.h"
#include "app/state.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_world.h"

namespace {

const std::wstring kOwnMood = L"Out for lunch";

// What a tick asks, in order, when it writes the playing track.
std::vector<std::wstring> PlayingTickCalls(const std::wstring& track) {
  return {L"FindSkypeWindow",
          L"GetSkypeMood",
          L"FindWinampWindow",
          L"IsWinampStopped",
          L"GetWinampCurrentTrack",
          L"IsWinampPaused",
          L"SetSkypeMood " + FormatPlayingMood(track)};
}

class SynchroniserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gInitialMood = L"stale";
    gInitialMoodKnown = false;
    gEnabled = false;
  }
  // The chat client runs with the user's own text, captured by a first tick.
  void StartWithChat(bool enabled) {
    world.OpenChat();
    world.chat.mood = kOwnMood;
    sync.tmrTimer_Timer();
    if (enabled) sync.mnuEnabled_Click();
    world.outside.calls.clear();
  }
  std::vector<std::wstring> Tick() {
    world.outside.calls.clear();
    sync.tmrTimer_Timer();
    return world.outside.calls;
  }
  // Switched on, with the chat client running and a track playing.
  void StartPlaying() {
    StartWithChat(true);
    world.Play(L"A");
  }
  // Messages dispatched while the first call whose log starts with `call` waits.
  void During(const std::wstring& call, std::function<void()> messages) {
    world.outside.afterCall = [call, messages, done = false](const std::wstring& made) mutable {
      if (done || !made.starts_with(call)) return;
      done = true;
      messages();
    };
  }

  FakeWorld world;
  FakeForm form;
  Synchroniser sync{world.outside, form};
};

TEST_F(SynchroniserTest, ATickAsksInTheFixedOrderAndEndsWithTheReport) {
  StartWithChat(true);
  world.Play(L"A - B");
  const std::vector<std::wstring> expected = PlayingTickCalls(L"A - B");
  const int reportsBefore = form.reports;
  EXPECT_EQ(Tick(), expected);
  EXPECT_EQ(form.reports, reportsBefore + 1);
}

TEST_F(SynchroniserTest, WithoutChatClientOrPlayerOnlyTheLookupsAreMade) {
  EXPECT_EQ(Tick(), (std::vector<std::wstring>{L"FindSkypeWindow", L"FindWinampWindow"}));
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_FALSE(gInitialMoodKnown);
  EXPECT_EQ(form.reports, 1);
}

TEST_F(SynchroniserTest, PlayerStatesChooseTheText) {
  StartWithChat(true);
  world.Play(L"A - B");
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A - B"));
  world.Pause(L"A - B");
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPausedMood(FormatPlayingMood(L"A - B")));
  world.Play(L"A - B");
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A - B"));
  world.Stop(L"A - B");
  Tick();
  EXPECT_EQ(world.chat.mood, kOwnMood);
  EXPECT_EQ(sync.CurrentMood(), L"");

  world.Play(L"C");
  Tick();
  world.ClosePlayer();
  Tick();
  EXPECT_EQ(world.chat.mood, kOwnMood);

  world.Play(L"C");
  Tick();
  world.Show(L"Just a caption");  // no track, not paused: like stopped
  Tick();
  EXPECT_EQ(world.chat.mood, kOwnMood);

  world.Show(L"Nothing here - Winamp [Paused]");  // paused with no track still blinks
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPausedMood(FormatPlayingMood(L"")));
}

TEST_F(SynchroniserTest, StoppedIsNotAskedForTrackOrPause) {
  StartWithChat(true);
  world.Stop(L"A");
  EXPECT_EQ(Tick(), (std::vector<std::wstring>{L"FindSkypeWindow", L"GetSkypeMood",
                                               L"FindWinampWindow", L"IsWinampStopped"}));
}

TEST_F(SynchroniserTest, TheFirstTickThatFindsTheChatClientCapturesAndWrites) {
  gEnabled = true;
  world.Play(L"A");
  Tick();
  EXPECT_FALSE(gInitialMoodKnown);
  world.OpenChat(5);
  world.chat.mood = kOwnMood;
  Tick();
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, kOwnMood);
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A"));
}

TEST_F(SynchroniserTest, NothingIsWrittenBeforeACaptureSucceeds) {
  gEnabled = true;
  world.OpenChat(5);
  world.FailReads(2);
  world.Play(L"A");
  Tick();
  Tick();
  EXPECT_TRUE(world.outside.writes.empty());
  Tick();
  EXPECT_EQ(world.outside.writes.size(), 1U);
}

TEST_F(SynchroniserTest, ANegativeChatHandleCountsAsNotRunning) {
  StartWithChat(true);
  world.OpenChat(-3);
  world.Play(L"A");
  Tick();
  EXPECT_TRUE(world.outside.writes.empty());
  EXPECT_FALSE(gInitialMoodKnown);
}

TEST_F(SynchroniserTest, TheSavedMoodFollowsTheUserOnlyWhileNothingOfOursIsShown) {
  StartWithChat(true);
  world.chat.mood = L"Gone fishing";
  Tick();
  EXPECT_EQ(gInitialMood, L"Gone fishing");

  world.Play(L"A");
  Tick();
  world.chat.mood = L"Typed over the track";
  Tick();
  EXPECT_EQ(gInitialMood, L"Gone fishing");
  EXPECT_TRUE(world.outside.writes.size() == 1U)
      << "the user's text is not overwritten until it changes";
  world.Play(L"B");
  Tick();
  world.Stop(L"B");
  Tick();
  EXPECT_EQ(world.chat.mood, L"Gone fishing");
}

TEST_F(SynchroniserTest, AFailedReadNeitherCapturesNorAdopts) {
  StartWithChat(false);
  world.chat.mood = L"new";
  world.FailReads(1);
  Tick();
  EXPECT_EQ(gInitialMood, kOwnMood);
  Tick();
  EXPECT_EQ(gInitialMood, L"new");
}

TEST_F(SynchroniserTest, ChatClientClosingForgetsTheSavedMoodAndWhatWasWritten) {
  StartPlaying();
  Tick();
  world.CloseChat();
  Tick();
  EXPECT_EQ(sync.CurrentMood(), L"");
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_FALSE(gInitialMoodKnown);
}

TEST_F(SynchroniserTest, OurOwnMarkupLeftBehindIsNeverSavedAsTheUsersText) {
  StartPlaying();
  Tick();
  world.CloseChat();  // the chat client closes and keeps our link
  Tick();
  world.OpenChat();
  world.ClosePlayer();
  Tick();
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_EQ(world.chat.mood, L"") << "ours, found by the capture: put back at once";
  world.Pause(L"B");
  Tick();
  world.ClosePlayer();
  Tick();
  EXPECT_EQ(world.chat.mood, L"") << "the stale link is cleared, not restored";

  // Nor is it adopted later: the user's text stays what was saved.
  world.chat.mood = FormatPausedMood(FormatPlayingMood(L"Z"));
  Tick();
  EXPECT_EQ(gInitialMood, L"");
}

TEST_F(SynchroniserTest, AFailedWriteIsRetriedEveryTickUntilItSucceeds) {
  StartPlaying();
  world.FailWrites(3);
  for (int i = 0; i < 3; ++i) {
    Tick();
    EXPECT_EQ(sync.CurrentMood(), L"");
  }
  Tick();
  EXPECT_EQ(sync.CurrentMood(), FormatPlayingMood(L"A"));

  world.Stop(L"A");
  world.FailWrites(2);
  Tick();
  Tick();
  EXPECT_EQ(sync.CurrentMood(), FormatPlayingMood(L"A"));
  Tick();
  EXPECT_EQ(sync.CurrentMood(), L"");
  EXPECT_EQ(world.chat.mood, kOwnMood);
}

TEST_F(SynchroniserTest, RestoringAnEmptySavedMoodWritesTheEmptyText) {
  world.OpenChat();
  world.chat.mood = L"";
  Tick();
  sync.mnuEnabled_Click();
  world.Play(L"A");
  Tick();
  world.ClosePlayer();
  Tick();
  EXPECT_EQ(world.outside.writes.back(), L"");
}

TEST_F(SynchroniserTest, APlayerThatClosesInTheMiddleOfATickRestores) {
  StartPlaying();
  Tick();
  world.outside.afterCall = [this](const std::wstring& call) {
    if (call == L"IsWinampStopped") world.ClosePlayer();
  };
  Tick();
  EXPECT_EQ(world.chat.mood, kOwnMood);
}

TEST_F(SynchroniserTest, SwitchingOnWritesNothingUntilTheNextTick) {
  StartWithChat(false);
  world.Play(L"A");
  sync.mnuEnabled_Click();
  EXPECT_TRUE(form.checked);
  EXPECT_TRUE(gEnabled);
  EXPECT_TRUE(world.outside.calls.empty());
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A"));
}

TEST_F(SynchroniserTest, SwitchingOffPutsTheSavedMoodBack) {
  StartPlaying();
  Tick();
  sync.mnuEnabled_Click();
  EXPECT_FALSE(form.checked);
  EXPECT_FALSE(gEnabled);
  EXPECT_EQ(world.chat.mood, kOwnMood);
  EXPECT_EQ(sync.CurrentMood(), L"");

  // Switching back on within the second writes the track again at the next tick.
  sync.mnuEnabled_Click();
  Tick();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A"));
}

TEST_F(SynchroniserTest, SwitchingOffWritesTheSavedMoodEvenWhenNothingOfOursIsShown) {
  StartWithChat(true);
  sync.mnuEnabled_Click();
  EXPECT_EQ(world.outside.writes, std::vector<std::wstring>{kOwnMood});
}

TEST_F(SynchroniserTest, SwitchingOffWithoutChatClientOrSavedMoodOnlyFlipsTheSwitch) {
  gEnabled = true;
  sync.mnuEnabled_Click();
  EXPECT_FALSE(gEnabled);
  EXPECT_EQ(world.outside.calls, std::vector<std::wstring>{L"FindSkypeWindow"});

  // The chat client runs but its mood was never read: the user's text is not written over.
  world.OpenChat();
  world.chat.mood = kOwnMood;
  world.FailReads(-1);
  Tick();
  sync.mnuEnabled_Click();
  sync.mnuEnabled_Click();
  EXPECT_FALSE(gEnabled);
  EXPECT_TRUE(world.outside.writes.empty());
  EXPECT_EQ(world.chat.mood, kOwnMood);
}

TEST_F(SynchroniserTest, AFailedSwitchOffRestoreIsTriedAgainByTheTicksWhileSwitchedOff) {
  StartPlaying();
  Tick();
  world.FailWrites(2);
  sync.mnuEnabled_Click();
  EXPECT_EQ(sync.CurrentMood(), FormatPlayingMood(L"A"));
  Tick();  // still playing, still failing
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"A"));
  Tick();
  EXPECT_EQ(world.chat.mood, kOwnMood);
  EXPECT_EQ(sync.CurrentMood(), L"");
  const std::size_t writes = world.outside.writes.size();
  world.Stop(L"A");
  Tick();
  world.Play(L"B");
  Tick();
  EXPECT_EQ(world.outside.writes.size(), writes) << "switched off, nothing more is written";
}

TEST_F(SynchroniserTest, AfterAFailedSwitchOffTheUsersNewTextIsKeptAndSaved) {
  StartPlaying();
  Tick();
  world.FailWrites(1);
  sync.mnuEnabled_Click();
  world.chat.mood = L"Typed while off";
  Tick();
  Tick();
  EXPECT_EQ(world.chat.mood, L"Typed while off");
  EXPECT_EQ(gInitialMood, L"Typed while off");
  EXPECT_EQ(sync.CurrentMood(), L"");
}

// Two orders that take eight events, deeper than the unit tests' explorer goes: after a
// switch-off that could not put the user's text back, the text the user types over our link
// stands, whether they switch on again before a tick has read it or the tick's read fails.
class LeftOverLinkTest : public SynchroniserTest {
 protected:
  // Our link shown, a switch-off whose restore fails, and the user typing over the link.
  void TypeOverTheLinkLeftBySwitchingOff() {
    StartPlaying();
    Tick();
    world.FailWrites(1);
    sync.mnuEnabled_Click();
    world.chat.mood = L"Busy";
  }
};

TEST_F(LeftOverLinkTest, TheTypedTextStandsWhenSwitchedOnBeforeATick) {
  TypeOverTheLinkLeftBySwitchingOff();
  sync.mnuEnabled_Click();  // on again
  Tick();
  world.Stop(L"A");
  Tick();
  EXPECT_EQ(world.chat.mood, L"Busy");
  EXPECT_EQ(gInitialMood, L"Busy");
}

TEST_F(LeftOverLinkTest, ASwitchedOffTickWhoseReadFailsWritesNothingOverTheTypedText) {
  TypeOverTheLinkLeftBySwitchingOff();
  world.FailReads(1);
  Tick();
  EXPECT_EQ(world.chat.mood, L"Busy");
  Tick();
  EXPECT_EQ(gInitialMood, L"Busy");
}

TEST_F(SynchroniserTest, UnloadEndsAfterThreeFailedRestores) {
  StartPlaying();
  Tick();
  world.FailWrites(-1);
  world.outside.calls.clear();
  sync.Form_Unload();
  EXPECT_EQ(std::ranges::count(world.outside.calls, L"SetSkypeMood " + kOwnMood), 3);
  EXPECT_TRUE(form.cleared);
}

TEST_F(SynchroniserTest, UnloadStopsTheTimerPutsTheSavedMoodBackAndClears) {
  StartWithChat(false);
  sync.Form_Unload();
  EXPECT_FALSE(form.timerRunning);
  EXPECT_EQ(world.outside.writes, std::vector<std::wstring>{kOwnMood});
  EXPECT_TRUE(form.cleared);
}

TEST_F(SynchroniserTest, UnloadWritesNothingWithoutChatClientOrSavedMood) {
  world.Play(L"A");
  sync.Form_Unload();
  world.OpenChat();
  world.FailReads(-1);
  sync.tmrTimer_Timer();
  sync.Form_Unload();
  EXPECT_TRUE(world.outside.writes.empty());
}

TEST_F(SynchroniserTest, ClicksInsideAClicksChatCallRunAfterItInTheOrderGiven) {
  StartWithChat(true);
  During(L"SetSkypeMood", [this] {
    sync.mnuEnabled_Click();  // on again
    sync.tmrTimer_Timer();
    sync.mnuEnabled_Click();  // and off
    EXPECT_FALSE(form.checked) << "still the first switch-off";
  });
  sync.mnuEnabled_Click();
  EXPECT_EQ(world.outside.calls,
            (std::vector<std::wstring>{L"FindSkypeWindow", L"SetSkypeMood " + kOwnMood,
                                       L"FindSkypeWindow", L"SetSkypeMood " + kOwnMood}));
  EXPECT_FALSE(gEnabled);
  EXPECT_FALSE(form.checked);

  // Nothing is left waiting: the next click switches on.
  sync.mnuEnabled_Click();
  EXPECT_TRUE(gEnabled);
}

}  // namespace
