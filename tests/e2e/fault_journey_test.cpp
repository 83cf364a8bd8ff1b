// A few faults of the chat client against the real program, with real ticks: the in-process
// matrix (tests/win32/faults) covers every kind and phase; these show the program does the
// same when its own timer and menu drive it.
#include <gtest/gtest.h>

#include "app/markup.h"
#include "desk.h"
#include "win32/resource.h"

namespace {

using chat_standin::Request;

const std::wstring kOwn = L"Out for lunch";
const std::wstring kPlaying = FormatPlayingMood(L"Artist - Song");

class FaultJourney : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterChatStandIn()); }

  void SetUp() override {
    ASSERT_TRUE(desk.StartPlayer(L"3. Artist - Song - Winamp"));
    ASSERT_TRUE(desk.StartChat(kOwn));
    ASSERT_TRUE(desk.StartTunemood());
    ASSERT_TRUE(desk.WaitForRead());
    ASSERT_TRUE(desk.Command(IDM_ENABLED));
    ASSERT_TRUE(desk.MoodBecomes(kPlaying));
  }

  Desk desk;
};

TEST_F(FaultJourney, ASwitchOffThatFailsIsPutRightByTheNextTicks) {
  ASSERT_TRUE(desk.Chat().FailNext(Request::WriteMood, 2));
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_EQ(desk.Chat().Mood(), kPlaying);
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  EXPECT_EQ(desk.ExitByMenu(), 0);
}

TEST_F(FaultJourney, AnExitThatFailsOnceStillPutsTheUsersTextBack) {
  ASSERT_TRUE(desk.Chat().FailNext(Request::Connect, 1));
  EXPECT_EQ(desk.ExitByMenu(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

TEST_F(FaultJourney, AChatClientThatRefusesEverythingForAWhileIsServedWhenItAnswers) {
  for (Request kind :
       {Request::Connect, Request::ReadProfile, Request::ReadMood, Request::WriteMood}) {
    ASSERT_TRUE(desk.Chat().FailNext(kind, -1));
  }
  ASSERT_TRUE(desk.ClosePlayer());
  Desk::WaitOneTick();
  EXPECT_EQ(desk.Chat().Mood(), kPlaying);
  for (Request kind :
       {Request::Connect, Request::ReadProfile, Request::ReadMood, Request::WriteMood}) {
    ASSERT_TRUE(desk.Chat().AnswerNext(kind, 0, S_OK));
  }
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  EXPECT_EQ(desk.CloseTunemood(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

}  // namespace
