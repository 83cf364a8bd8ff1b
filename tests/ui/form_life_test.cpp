#include "ui/form_life.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/markup.h"
#include "app/state.h"
#include "fake_platform/fake_world.h"

namespace {

const std::wstring kOwn = L"Out for lunch";
const std::wstring kWriteOwn = L"SetSkypeMood " + kOwn;
const std::wstring kTrackA = FormatPlayingMood(L"A");

// The window without a screen; what it is told goes into the same log as the calls outside.
class Shell final : public FormShell {
 public:
  explicit Shell(std::vector<std::wstring>& log) : mLog(log) {}

  bool checked = false;
  int reports = 0;
  int releases = 0;
  int quits = 0;
  bool blocked = false;

  void ShowDebugInformation() override { ++reports; }
  void SetEnabledChecked(bool value) override { checked = value; }
  void StopTimer() override {}
  void ClearWindow() override {}
  void Release() override {
    ++releases;
    mLog.emplace_back(L"Release");
  }
  void PostQuit() override { ++quits; }
  void BlockShutdown(std::wstring_view reason) override {
    blocked = !reason.empty();
    mLog.emplace_back(L"BlockShutdown");
  }
  void AllowShutdown() override {
    blocked = false;
    mLog.emplace_back(L"AllowShutdown");
  }

 private:
  std::vector<std::wstring>& mLog;
};

class FormLifeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gInitialMood.clear();
    gInitialMoodKnown = false;
    gEnabled = false;
  }
  // The chat client shows the user's text, captured; switched on, the track A shown.
  void StartShowingATrack() {
    world.OpenChat();
    world.chat.mood = kOwn;
    world.Play(L"A");
    life.tmrTimer_Timer();
    life.Form_MouseDown(kLeftButton);
    life.Form_DblClick();
    life.tmrTimer_Timer();
    ASSERT_EQ(world.chat.mood, kTrackA);
    world.outside.calls.clear();
  }
  // Messages dispatched while the first call whose log starts with `call` waits.
  void During(const std::wstring& call, std::function<void()> messages) {
    world.outside.afterCall = [call, messages, done = false](const std::wstring& made) mutable {
      if (done || !made.starts_with(call)) return;
      done = true;
      messages();
    };
  }
  // Where the first entry of the log that is `entry` stands; the log's size when there is none.
  std::ptrdiff_t At(const std::wstring& entry) const {
    const auto& log = world.outside.calls;
    return std::ranges::find(log, entry) - log.begin();
  }
  std::ptrdiff_t Count(const std::wstring& entry) const {
    return std::ranges::count(world.outside.calls, entry);
  }

  FakeWorld world;
  Shell shell{world.outside.calls};
  FormLife life{world.outside, shell};
};

TEST_F(FormLifeTest, ExitPutsTheUsersTextBackThenReleasesTheWindowAndPostsOneQuit) {
  StartShowingATrack();
  life.mnuExit_Click();
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_LT(At(kWriteOwn), At(L"Release"));
  EXPECT_EQ(shell.releases, 1);
  EXPECT_EQ(shell.quits, 1);
  life.QuitTaken();
  EXPECT_EQ(Count(kWriteOwn), 1) << "nothing of ours was left to put back";
  EXPECT_EQ(life.Now(), Stage::Ended);
}

TEST_F(FormLifeTest, AQuitFromOutsideUnloadsAsExitDoesAndPostsNoOtherQuit) {
  StartShowingATrack();
  life.QuitTaken();
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_EQ(shell.releases, 1);
  EXPECT_EQ(shell.quits, 0);
}

// Each unload puts the text back before it returns; the window goes with the first, once done.
TEST_F(FormLifeTest, ACloseInsideTheExitsPutBackPutsBackAgainAndLeavesTheWindowToTheExit) {
  StartShowingATrack();
  During(kWriteOwn, [this] {
    life.Form_Close();
    EXPECT_EQ(shell.releases, 0);
    EXPECT_EQ(shell.quits, 0);
  });
  life.mnuExit_Click();
  EXPECT_EQ(Count(kWriteOwn), 2);
  EXPECT_EQ(shell.releases, 1);
  EXPECT_EQ(shell.quits, 1);
}

// Otherwise the window goes and the process runs on without it, refusing every later start.
TEST_F(FormLifeTest, ACloseWhileADoubleClicksSwitchOffWaitsEndsTheProgramOnceItReturns) {
  StartShowingATrack();
  During(kWriteOwn, [this] { life.Form_Close(); });
  life.Form_MouseDown(kLeftButton);
  life.Form_DblClick();
  EXPECT_EQ(shell.releases, 1);
  EXPECT_EQ(shell.quits, 1);
}

TEST_F(FormLifeTest, ADoubleClickSwitchesWhenTheLastLeftOrRightPressWasALeftOne) {
  life.Form_MouseDown(kRightButton);
  life.Form_DblClick();
  EXPECT_FALSE(gEnabled) << "a right double-click";
  life.Form_MouseDown(kLeftButton);
  life.Form_DblClick();
  EXPECT_TRUE(gEnabled);
  life.Form_MouseDown(kMiddleButton);
  life.Form_DblClick();
  EXPECT_FALSE(gEnabled) << "a middle double-click after a left one";
  EXPECT_FALSE(shell.checked);
}

// Three failed attempts are not a success: once the loop takes its quit, the text goes back.
TEST_F(FormLifeTest, AnUnloadWhoseAttemptsAllFailLeavesOursForTheRetryAfterTheQuit) {
  StartShowingATrack();
  world.FailWrites(3);
  life.mnuExit_Click();
  EXPECT_EQ(Count(kWriteOwn), 3);
  EXPECT_EQ(life.Sync().CurrentMood(), kTrackA);
  life.QuitTaken();
  EXPECT_EQ(world.chat.mood, kOwn);
}

// Put back, ours is no longer shown: a text the user types afterwards is theirs.
TEST_F(FormLifeTest, ATextTypedAfterTheUnloadsPutBackWhileAReadWaitedStands) {
  StartShowingATrack();
  During(L"GetSkypeMood", [this] {
    life.Form_Close();
    world.chat.mood = L"Busy";
  });
  life.tmrTimer_Timer();
  life.QuitTaken();
  EXPECT_EQ(world.chat.mood, L"Busy");
}

// A close while the tick waits on the chat client: the user's own text is what stays, whether
// the close came during the read or during the write of the track, and the gone window is not
// reported on.
class CloseDuringATickTest : public FormLifeTest,
                             public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(CloseDuringATickTest, LeavesTheUsersTextStanding) {
  StartShowingATrack();
  world.Play(L"B");
  During(GetParam(), [this] { life.Form_Close(); });
  const int reports = shell.reports;
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_EQ(life.Sync().CurrentMood(), L"");
  EXPECT_EQ(shell.reports, reports);
  EXPECT_EQ(shell.quits, 1);
  // Only the write already under way when the close came may carry the track.
  const bool writing = std::wstring(GetParam()) == L"SetSkypeMood";
  EXPECT_EQ(std::ranges::count(world.outside.writes, FormatPlayingMood(L"B")), writing ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Calls, CloseDuringATickTest,
                         ::testing::Values(L"GetSkypeMood", L"SetSkypeMood"));

// The chat client may end as soon as the query returns: the user's text is back by then, and
// Windows shows why the query waits.
TEST_F(FormLifeTest, TheQueryPutsTheUsersTextBackBeforeItReturnsAndSaysWhyMeanwhile) {
  StartShowingATrack();
  During(kWriteOwn, [this] { EXPECT_TRUE(shell.blocked); });
  EXPECT_TRUE(life.Form_QueryEndSession());
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_FALSE(shell.blocked);
  EXPECT_EQ(shell.releases, 0);
  EXPECT_EQ(life.Now(), Stage::SessionAsked);
}

// The unload's own put-back may yet fail while it waits.
TEST_F(FormLifeTest, AQueryWhileTheExitsPutBackWaitsPutsTheTextBackItself) {
  StartShowingATrack();
  During(kWriteOwn, [this] {
    EXPECT_TRUE(life.Form_QueryEndSession());
    EXPECT_EQ(world.chat.mood, kOwn);
    EXPECT_EQ(life.Now(), Stage::Unloading);
  });
  life.mnuExit_Click();
}

TEST_F(FormLifeTest, TheQueryMakesTheUnloadsAttemptsAndTheHeldTicksTryAgain) {
  StartShowingATrack();
  world.FailWrites(3);
  life.Form_QueryEndSession();
  EXPECT_EQ(Count(kWriteOwn), 3);
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, kOwn);
}

TEST_F(FormLifeTest, AfterTheQueryNothingOfOursIsWrittenUntilTheEndIsCancelled) {
  StartShowingATrack();
  life.Form_QueryEndSession();
  world.Play(L"B");
  life.tmrTimer_Timer();
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, kOwn);
  life.Form_EndSession(false);
  EXPECT_EQ(life.Now(), Stage::Running);
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"B"));
}

// A query that comes while a tick writes the track: the track lands after the query's put-back,
// and the tick takes it back; the record says so, and a cancellation shows the track again.
TEST_F(FormLifeTest, AQueryInsideATicksWriteLeavesTheUsersTextAndAFaithfulRecord) {
  StartShowingATrack();
  world.Play(L"B");
  During(L"SetSkypeMood " + FormatPlayingMood(L"B"), [this] { life.Form_QueryEndSession(); });
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_EQ(life.Sync().CurrentMood(), L"");
  life.Form_EndSession(false);
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(L"B"));
}

// A call answered after the query's put-back tells of a moment that has passed: whether the
// track the read found or the write made still shows, the next tick has to look again.
class CancelledQueryInsideATicksCallTest : public FormLifeTest,
                                           public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(CancelledQueryInsideATicksCallTest, LeavesTheTrackToBeWrittenAgain) {
  StartShowingATrack();
  const bool write = std::wstring_view(GetParam()) == L"WriteMood";
  if (write) world.Play(L"B");
  world.chat.whileWaiting = [this, done = false](std::wstring_view call,
                                                 FakeChatClient::Phase phase) mutable {
    if (done || call != GetParam() || phase != FakeChatClient::Phase::Succeeded) return false;
    done = true;
    life.Form_QueryEndSession();
    life.Form_EndSession(false);
    return false;
  };
  life.tmrTimer_Timer();
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, FormatPlayingMood(write ? L"B" : L"A"));
}

INSTANTIATE_TEST_SUITE_P(Calls, CancelledQueryInsideATicksCallTest,
                         ::testing::Values(L"ReadMood", L"WriteMood"));

// A query whose put-back comes before the tick's write lands, then a cancelled sign-out: the track
// shows, and is known for ours. A text the user types over it is not theirs to keep: the saved
// one comes back when the player stops. And it is put back at the end, even when the close's
// attempts all fail and only the retry once the loop takes its quit is left.
class TrackWrittenAfterACancelledQuerysPutBackTest : public FormLifeTest,
                                                     public ::testing::WithParamInterface<bool> {};

TEST_P(TrackWrittenAfterACancelledQuerysPutBackTest, IsKnownForOurs) {
  const bool programEnds = GetParam();
  StartShowingATrack();
  world.Play(L"B");
  world.chat.whileWaiting = [this, done = false](std::wstring_view call,
                                                 FakeChatClient::Phase phase) mutable {
    if (done || call != L"WriteMood" || phase != FakeChatClient::Phase::Waiting) return false;
    done = true;
    life.Form_QueryEndSession();
    life.Form_EndSession(false);
    return false;
  };
  life.tmrTimer_Timer();
  ASSERT_EQ(world.chat.mood, FormatPlayingMood(L"B"));
  if (programEnds) {
    world.FailWrites(3);
    life.Form_Close();
    life.QuitTaken();
  } else {
    world.chat.mood = L"Away";
    world.Stop(L"B");
    life.tmrTimer_Timer();
  }
  EXPECT_EQ(world.chat.mood, kOwn);
}

INSTANTIATE_TEST_SUITE_P(Then, TrackWrittenAfterACancelledQuerysPutBackTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& then) {
                           return then.param ? "TheProgramEnds" : "TheUserTypesAndThePlayerStops";
                         });

// The chat client closes inside the tick's write, before or after the query's put-back: the
// write never landed. The user types in the chat client once it is back. Once the sign-out is
// cancelled, the track is written again. While the hold lasts, the typed text stands, unless it
// was typed over a link of ours (one an earlier run left, when the chat client closed before the
// put-back could replace it): that is not the user's text, and the saved one goes back over it.
class WriteLostWithTheChatClientTest
    : public FormLifeTest,
      public ::testing::WithParamInterface<std::tuple<bool, bool, bool>> {};

TEST_P(WriteLostWithTheChatClientTest, IsNotTakenForShown) {
  const auto [closesFirst, cancelled, overOldLink] = GetParam();
  world.OpenChat();
  world.chat.mood = overOldLink ? FormatPlayingMood(L"Old") : kOwn;
  world.Play(L"A");
  life.mnuEnabled_Click();
  world.chat.whileWaiting = [this, closesFirst, done = false](std::wstring_view call,
                                                              FakeChatClient::Phase phase) mutable {
    if (done || call != L"WriteMood" || phase != FakeChatClient::Phase::Waiting) return false;
    done = true;
    const auto closeChat = [this] {
      world.CloseChat();  // and fails every call until the tick is done
      world.FailWrites(-1);
    };
    if (closesFirst) closeChat();
    life.Form_QueryEndSession();
    if (!closesFirst) closeChat();
    return false;
  };
  life.tmrTimer_Timer();
  world.FailWrites(0);
  if (cancelled) life.Form_EndSession(false);
  world.OpenChat();
  world.chat.mood = L"Busy";
  life.tmrTimer_Timer();
  life.tmrTimer_Timer();
  const std::wstring saved = overOldLink ? L"" : kOwn;
  EXPECT_EQ(world.chat.mood, cancelled ? kTrackA : (closesFirst && overOldLink ? saved : L"Busy"));
}

INSTANTIATE_TEST_SUITE_P(Orders, WriteLostWithTheChatClientTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<bool, bool, bool>>& order) {
                           return std::string(std::get<0>(order.param) ? "ClosesFirst"
                                                                       : "QueryFirst") +
                                  (std::get<1>(order.param) ? "Cancelled" : "Held") +
                                  (std::get<2>(order.param) ? "OverAnOldLink" : "OverTheUsersText");
                         });

// A read answered before the query's put-back tells of a text that is gone: what shows now is read
// again, and a text typed over the track, which the put-back replaced, is not saved for the user's.
TEST_F(FormLifeTest, AReadThatAPutBackOvertookIsReadAgain) {
  StartShowingATrack();
  world.chat.mood = L"Away";
  world.chat.whileWaiting = [this, done = false](std::wstring_view call,
                                                 FakeChatClient::Phase phase) mutable {
    if (done || call != L"ReadMood" || phase != FakeChatClient::Phase::Succeeded) return false;
    done = true;
    life.Form_QueryEndSession();
    return false;
  };
  life.tmrTimer_Timer();
  EXPECT_EQ(gInitialMood, kOwn);
  life.Form_EndSession(true);
  EXPECT_EQ(world.chat.mood, kOwn);
}

// A link an earlier run left, read while the query put the user's text back and the chat client
// then closed: the stale answer is not taken for a text of ours to put back over the user's.
TEST_F(FormLifeTest, AStaleReadOfAnOldLinkIsNotTakenForOurs) {
  world.OpenChat();
  world.chat.mood = kTrackA;
  SaveInitialMood(world.chat.mood);
  life.mnuEnabled_Click();
  world.chat.whileWaiting = [this, done = false](std::wstring_view call,
                                                 FakeChatClient::Phase phase) mutable {
    if (done || call != L"ReadMood" || phase != FakeChatClient::Phase::Succeeded) return false;
    done = true;
    life.Form_QueryEndSession();
    world.CloseChat();  // and fails every call until the tick is done
    world.FailWrites(-1);
    return false;
  };
  life.tmrTimer_Timer();
  world.FailWrites(0);
  world.OpenChat();
  world.chat.mood = L"Busy";
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, L"Busy");
}

// Windows promises the end after a query; when none comes, the user's own switch ends the hold,
// not one given inside a call, which is carried out after it as every such click is.
TEST_F(FormLifeTest, WithoutAnEndOnlyASwitchGivenWhileNothingRunsEndsTheHold) {
  StartShowingATrack();
  During(kWriteOwn, [this] { life.mnuEnabled_Click(); });
  life.Form_QueryEndSession();
  life.tmrTimer_Timer();
  EXPECT_FALSE(gEnabled);
  EXPECT_EQ(life.Now(), Stage::SessionAsked);
  life.mnuEnabled_Click();
  EXPECT_EQ(life.Now(), Stage::Running);
  life.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, kTrackA);
}

// Windows may end the process once WM_ENDSESSION returns, and shows the reason meanwhile.
TEST_F(FormLifeTest, TheEndOfTheSessionSaysWhyWhileItPutsBackAndReleasesTheWindowAfter) {
  StartShowingATrack();
  life.Form_QueryEndSession();
  world.outside.calls.clear();
  During(kWriteOwn, [this] { EXPECT_TRUE(shell.blocked); });
  life.Form_EndSession(true);
  EXPECT_EQ(world.chat.mood, kOwn);
  EXPECT_LT(At(L"BlockShutdown"), At(kWriteOwn));
  EXPECT_LT(At(kWriteOwn), At(L"Release"));
  EXPECT_FALSE(shell.blocked);
  EXPECT_EQ(shell.releases, 1);
  EXPECT_EQ(shell.quits, 1);
}

}  // namespace
