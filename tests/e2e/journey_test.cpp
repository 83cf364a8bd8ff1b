// The whole journey: the real Tunemood beside the stand-in player and chat client, with real
// one-second ticks, checked by what the chat client receives.
#include <gtest/gtest.h>

#include "app/markup.h"
#include "desk.h"
#include "win32/resource.h"

namespace {

using chat_standin::Request;

const std::wstring kOwn = L"Out for lunch";

std::wstring Playing(const std::wstring& track) {
  return FormatPlayingMood(track);
}
std::wstring Paused(const std::wstring& track) {
  return FormatPausedMood(FormatPlayingMood(track));
}
std::wstring Caption(const std::wstring& track, const wchar_t* state = L"") {
  return L"12. " + track + L" - Winamp" + state;
}

class Journey : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterChatStandIn()); }

  // The usual start: chat client with the user's text, Tunemood captured it, switched on.
  void StartSwitchedOn() {
    ASSERT_TRUE(desk.StartChat(kOwn));
    ASSERT_TRUE(desk.StartTunemood());
    ASSERT_TRUE(desk.WaitForRead());
    ASSERT_TRUE(desk.Command(IDM_ENABLED));
  }
  std::size_t Writes() const { return desk.Chat().Log(L"WriteMood").size(); }

  Desk desk;
};

TEST_F(Journey, PlayPauseResumeNextStopAndClose) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"Artist - First")));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - First", L" [Paused]")));
  EXPECT_TRUE(desk.MoodBecomes(Paused(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - First")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Second")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - Second")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Second", L" [Stopped]")));
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Third")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - Third")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  // One write per change, none for unchanged ticks.
  EXPECT_EQ(Writes(), 7U);
}

TEST_F(Journey, StartsBeforeTheChatClientAndCapturesItsTextWhenItComes) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.WaitForRead());
  Desk::WaitOneTick();
  EXPECT_EQ(Writes(), 0U) << "nothing is written while switched off";
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
}

TEST_F(Journey, TheUsersOwnEditsAreKeptAndPutBack) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B", L" [Stopped]")));
  StartSwitchedOn();
  // Edited while the user's own text is shown: it becomes the text to put back.
  ASSERT_TRUE(desk.Chat().SetMood(L"Gone fishing"));
  Desk::WaitOneTick();
  ASSERT_TRUE(desk.ShowCaption(Caption(L"A - B")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  // Edited while a track is shown: left alone until the track changes, never saved.
  ASSERT_TRUE(desk.Chat().SetMood(L"Typed over the track"));
  Desk::WaitOneTick();
  EXPECT_EQ(desk.Chat().Mood(), L"Typed over the track");
  ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"C - D")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D", L" [Stopped]")));
  EXPECT_TRUE(desk.MoodBecomes(L"Gone fishing"));
}

TEST_F(Journey, AFailingWriteIsRetriedEveryTick) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.Chat().FailNext(Request::WriteMood, 2));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B"), std::chrono::milliseconds(6000)));
  const auto writes = desk.Chat().Log(L"WriteMood");
  ASSERT_EQ(writes.size(), 3U);
  EXPECT_LT(writes[0].result, 0);
  EXPECT_LT(writes[1].result, 0);
  EXPECT_EQ(writes[2].result, S_OK);
}

TEST_F(Journey, SwitchingOffPutsTheUsersTextBack) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_EQ(desk.Chat().Mood(), kOwn) << "put back at once, not at the next tick";
  Desk::WaitOneTick();
  EXPECT_EQ(desk.Chat().Mood(), kOwn) << "and nothing more is written while off";

  // Switched off with nothing of ours shown: the user's text is written once all the same.
  ASSERT_TRUE(desk.ClosePlayer());
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  const std::size_t before = Writes();
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_EQ(Writes(), before + 1);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

TEST_F(Journey, TheChatClientClosingWithOurLinkDoesNotLeaveItStanding) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  // The chat client closes and comes back still showing our link, as a real one keeps it.
  ASSERT_TRUE(desk.CloseChat());
  Desk::WaitOneTick();
  ASSERT_TRUE(desk.StartChat(Playing(L"A - B")));
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.ShowCaption(Caption(L"A - B", L" [Stopped]")));
  // The restore after our next write clears the stale link instead of keeping it for good.
  ASSERT_TRUE(desk.ShowCaption(Caption(L"E - F")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"E - F")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(L""));
}

TEST_F(Journey, EveryWayOutPutsTheUsersTextBack) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    Desk here;
    ASSERT_TRUE(here.StartPlayer(Caption(L"A - B")));
    ASSERT_TRUE(here.StartChat(kOwn));
    ASSERT_TRUE(here.StartTunemood());
    ASSERT_TRUE(here.WaitForRead());
    ASSERT_TRUE(here.Command(IDM_ENABLED));
    ASSERT_TRUE(here.MoodBecomes(Playing(L"A - B")));
    const long code = way == 0   ? here.ExitByMenu()
                      : way == 1 ? here.CloseTunemood()
                                 : here.LogOff();
    EXPECT_NE(code, -1) << "the program ends";
    EXPECT_EQ(here.Chat().Mood(), kOwn);
    EXPECT_EQ(here.Chat().LiveProfiles(), 0);
  }
}

TEST_F(Journey, ASecondCopyEndsAtOnceWithoutTouchingTheChatClient) {
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.Chat().ClearLog());
  const DWORD first = [&] {
    DWORD id = 0;
    ::GetWindowThreadProcessId(desk.TunemoodWindow(), &id);
    return id;
  }();
  EXPECT_EQ(desk.StartSecondCopy(), 0);
  for (const auto& call : desk.Chat().Log()) EXPECT_EQ(call.process, first);
}

TEST_F(Journey, CaptionShapesThatMatterToTheUser) {
  ASSERT_TRUE(desk.StartPlayer(L"1. Intro - Winamp"));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Intro")));
  const std::pair<std::wstring, std::wstring> shapes[] = {
      {L"123. Artist - Title - Winamp", L"Artist - Title"},
      {L"3. Mr. X - Y - Winamp", L"Mr. X - Y"},
      {L"4. Кино - Группа крови - Winamp", L"Кино - Группа крови"},
      {L"5. 坂本龍一 - 戦場のメリークリスマス - Winamp", L"坂本龍一 - 戦場のメリークリスマス"},
      {L"6. <a href=\"x\">Tom & Jerry</a> - Winamp", L"<a href=\"x\">Tom & Jerry</a>"},
  };
  for (const auto& [caption, track] : shapes) {
    ASSERT_TRUE(desk.ShowCaption(caption));
    EXPECT_TRUE(desk.MoodBecomes(Playing(track))) << caption;
  }
  // Markup characters of a title arrive escaped, so no title plants its own link.
  EXPECT_EQ(desk.Chat().Mood(),
            L"<a href=\"http://tunemood.github.io/html/tunemood.html\">&lt;a href=&quot;x&quot;&gt;"
            L"Tom &amp; Jerry&lt;/a&gt;</a>");
}

}  // namespace
