#include "player/winamp.h"

#include <gtest/gtest.h>

#include "fake_platform/fake_desktop.h"

namespace {

TEST(PlayerWindow, EveryQuestionLooksTheWindowUpAfresh) {
  FakeDesktop desktop;
  desktop.windows[kChatClass] = 5;
  desktop.ShowPlayer(7, L"1. A - Winamp");
  EXPECT_EQ(FindWinampWindow(desktop), 7);
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"A");
  EXPECT_FALSE(IsWinampPaused(desktop));
  EXPECT_FALSE(IsWinampStopped(desktop));
  EXPECT_EQ(desktop.lookups, 4);
  EXPECT_EQ(desktop.reads, 3);

  desktop.ShowPlayer(7, L"1. B - Winamp [Paused]");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"B");
  EXPECT_TRUE(IsWinampPaused(desktop));
  desktop.ShowPlayer(8, L"2. C - Winamp [Stopped]");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"C");
  EXPECT_TRUE(IsWinampStopped(desktop));
  EXPECT_FALSE(IsWinampPaused(desktop));

  // The player closes after a lookup that saw it: the next question finds nothing.
  EXPECT_EQ(FindWinampWindow(desktop), 8);
  desktop.ClosePlayer();
  EXPECT_EQ(FindWinampWindow(desktop), 0);
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"");
  EXPECT_FALSE(IsWinampStopped(desktop));
}

TEST(PlayerWindow, AHandleBelowOneReadsNoCaption) {
  for (const WindowHandle handle : {0, -1, -5}) {
    FakeDesktop desktop;
    desktop.ShowPlayer(handle, L"1. A - Winamp [Paused] - Winamp [Stopped]");
    EXPECT_EQ(GetWinampCurrentTrack(desktop), L"") << handle;
    EXPECT_FALSE(IsWinampPaused(desktop)) << handle;
    EXPECT_FALSE(IsWinampStopped(desktop)) << handle;
    EXPECT_EQ(desktop.reads, 0) << handle;
  }
}

TEST(PlayerWindow, AWindowGoneBeforeItsCaptionIsReadShowsNoTrack) {
  FakeDesktop desktop;
  desktop.windows[kPlayerClass] = 7;  // found, but its caption reads as none
  EXPECT_EQ(GetWindowCaption(desktop, 7), L"");
  EXPECT_EQ(GetWinampCurrentTrack(desktop), L"");
  EXPECT_FALSE(IsWinampPaused(desktop));
  EXPECT_FALSE(IsWinampStopped(desktop));
}

}  // namespace
