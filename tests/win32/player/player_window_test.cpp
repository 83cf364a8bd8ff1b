#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "built_paths.h"
#include "child_process.h"
#include "player/winamp.h"
#include "waiting.h"
#include "win32/desktop.h"
#include "win32/window_handle.h"
#include "window_search.h"

namespace {

class PlayerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A stand-in left by an earlier test is ended with it, but its window may linger a moment.
    ASSERT_TRUE(WaitUntil([&] { return FindWinampWindow(desktop) == 0; }));
  }

  // Starts the stand-in with these raw arguments, none and empty ones too, and waits for its
  // window.
  HWND StartPlayer(const std::wstring& arguments) {
    player = ChildProcess(StandinPlayerPath(), arguments);
    EXPECT_TRUE(player.Running());
    const HWND window = WaitForShownWindow(player.Id(), L"Winamp v1.x");
    EXPECT_NE(window, nullptr);
    return window;
  }

  Win32Desktop desktop;
  ChildProcess player;
};

TEST_F(PlayerWindowTest, NoPlayerWindowGivesNoTrack) {
  EXPECT_EQ(FindWinampWindow(desktop), 0);
  EXPECT_EQ(GetWindowCaption(desktop, 0), L"");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"");
  EXPECT_FALSE(IsWinampPaused(desktop));
  EXPECT_FALSE(IsWinampStopped(desktop));
}

TEST_F(PlayerWindowTest, ReadsTheRunningPlayersCaptionAndFollowsItsChanges) {
  const HWND window = StartPlayer(L"\"12. Artist - Title - Winamp\"");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindWinampWindow(desktop), ToWindowHandle(window));
  EXPECT_EQ(GetWindowCaption(desktop, ToWindowHandle(window)), L"12. Artist - Title - Winamp");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"Artist - Title");
  EXPECT_FALSE(IsWinampPaused(desktop));

  ASSERT_TRUE(::SetWindowTextW(window, L"12. Artist - Title - Winamp [Paused]"));
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"Artist - Title");
  EXPECT_TRUE(IsWinampPaused(desktop));
  ASSERT_TRUE(::SetWindowTextW(window, L"13. Other - Song - Winamp [Stopped]"));
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"Other - Song");
  EXPECT_FALSE(IsWinampPaused(desktop));
  EXPECT_TRUE(IsWinampStopped(desktop));
}

TEST_F(PlayerWindowTest, CaptionsOutsideTheAnsiCodePageArriveIntact) {
  const HWND window = StartPlayer(L"\"1. Кино - Группа крови - Winamp\"");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowCaption(desktop, ToWindowHandle(window)), L"1. Кино - Группа крови - Winamp");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"Кино - Группа крови");

  ASSERT_TRUE(::SetWindowTextW(window, L"2. 坂本龍一 - Ελλάδα ♫ - Winamp [Paused]"));
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"坂本龍一 - Ελλάδα ♫");
  EXPECT_TRUE(IsWinampPaused(desktop));
}

TEST_F(PlayerWindowTest, SpacesAtBothEndsAreTrimmedAndTabsStay) {
  const HWND window = StartPlayer(L"\"  12. Artist - Title - Winamp [Stopped]  \"");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowCaption(desktop, ToWindowHandle(window)),
            L"12. Artist - Title - Winamp [Stopped]");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"Artist - Title");
  EXPECT_TRUE(IsWinampStopped(desktop));

  ASSERT_TRUE(::SetWindowTextW(window, L"\t1. A - Winamp\t "));
  EXPECT_EQ(GetWindowCaption(desktop, ToWindowHandle(window)), L"\t1. A - Winamp\t");
}

TEST_F(PlayerWindowTest, AWindowWithoutCaptionShowsNoTrack) {
  for (const wchar_t* arguments : {L"", L"\"\""}) {
    const HWND window = StartPlayer(arguments);
    ASSERT_NE(window, nullptr) << arguments;
    EXPECT_EQ(FindWinampWindow(desktop), ToWindowHandle(window)) << arguments;
    EXPECT_EQ(GetWindowCaption(desktop, ToWindowHandle(window)), L"") << arguments;
    EXPECT_EQ(GetWinampCurrentTrack(desktop), L"") << arguments;
    EXPECT_FALSE(IsWinampPaused(desktop)) << arguments;
    player.Terminate();
    ASSERT_TRUE(WaitUntil([&] { return FindWinampWindow(desktop) == 0; }));
  }
}

TEST_F(PlayerWindowTest, AClosedPlayerIsGoneAtTheNextQuestion) {
  const HWND window = StartPlayer(L"\"1. A - Winamp [Paused]\"");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(IsWinampPaused(desktop));
  const WindowHandle seen = FindWinampWindow(desktop);

  Send(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  EXPECT_TRUE(WaitUntil([&] { return FindWinampWindow(desktop) == 0; }));
  // A handle from a lookup before the close names no window any more.
  EXPECT_EQ(GetWindowCaption(desktop, seen), L"");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"");
  EXPECT_FALSE(IsWinampPaused(desktop));
}

}  // namespace
