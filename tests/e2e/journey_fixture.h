#pragma once

// The end-to-end tests' fixture: the real Tunemood beside the stand-in player and chat client,
// with real one-second ticks, checked by what the chat client receives.
#include <gtest/gtest.h>

#include <string>

#include "app/markup.h"
#include "desk.h"
#include "win32/resource.h"
#include "window_search.h"

inline const std::wstring kOwn = L"Out for lunch";
// The flag has the top bit set; LPARAM carries it as it is.
inline const LPARAM kLogOff = static_cast<LPARAM>(static_cast<LONG>(ENDSESSION_LOGOFF));

inline std::wstring Playing(const std::wstring& track) {
  return FormatPlayingMood(track);
}
inline std::wstring Paused(const std::wstring& track) {
  return FormatPausedMood(FormatPlayingMood(track));
}
inline std::wstring Caption(const std::wstring& track, const wchar_t* state = L"") {
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
  // Switched on, with a track shown.
  void StartShowingATrack() {
    ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
    StartSwitchedOn();
    ASSERT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  }
  std::size_t Writes() const { return desk.Chat().Log(L"WriteMood").size(); }
  // Windows asks whether the session may end: the program lets it.
  void AskToEndSession(LPARAM reason) {
    DWORD_PTR mayEnd = 0;
    ASSERT_TRUE(Send(desk.TunemoodWindow(), WM_QUERYENDSESSION, 0, reason, &mayEnd));
    EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
  }
  // Asked first, then told: the session ends, or another program has cancelled it.
  void EndSession(LPARAM reason, BOOL ends = TRUE) {
    AskToEndSession(reason);
    ASSERT_TRUE(Send(desk.TunemoodWindow(), WM_ENDSESSION, static_cast<WPARAM>(ends), reason));
  }
  // The chat client keeps the next write waiting; the tick writes the next track into it.
  void HoldATicksWrite(chat_standin::HeldEffect effect = chat_standin::HeldEffect::First) {
    ASSERT_TRUE(desk.Chat().HoldNext(chat_standin::Request::WriteMood, 1, effect));
    ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D")));
    ASSERT_TRUE(desk.WriteArrives(Playing(L"C - D")));
  }
  // Exit, and the chat client keeps its restore waiting, busy, and refuses it when it answers at
  // last: only a later write helps.
  void HoldTheExitsRestore() {
    ASSERT_TRUE(desk.Chat().HoldNext(chat_standin::Request::WriteMood));
    ASSERT_TRUE(desk.Chat().FailNext(chat_standin::Request::WriteMood));
    ASSERT_TRUE(::PostMessageW(desk.TunemoodWindow(), WM_COMMAND, IDM_EXIT, 0));
    ASSERT_TRUE(desk.WriteArrives(kOwn));
  }

  Desk desk;
};
