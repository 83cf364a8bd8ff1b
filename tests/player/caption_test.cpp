#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

#include "fake_platform/fake_desktop.h"
#include "player/winamp.h"

namespace {

using namespace std::literals;

struct CaptionCase {
  std::wstring_view caption;  // as the player's window hands it out
  std::wstring_view track;
  bool paused;
  bool stopped;
};

TEST(PlayerCaption, TrackPausedAndStoppedFollowTheCaptionRules) {
  const std::vector<CaptionCase> cases = {
      {L"12. Artist - Title - Winamp", L"Artist - Title", false, false},
      {L"12. Artist - Title - Winamp [Paused]", L"Artist - Title", true, false},
      {L"12. Artist - Title - Winamp [Stopped]", L"Artist - Title", false, true},
      // The suffix that ends the track is exact; the markers ignore case.
      {L"12. Artist - Title - winamp [paused]", L"", true, false},
      {L"12. Artist - Title - WINAMP [STOPPED]", L"", false, true},
      {L"12. Artist - Title - Winamp[Paused]", L"Artist - Title", false, false},
      // Only letters fold: a brace is not a bracket.
      {L"1. A - Winamp {Paused}", L"A", false, false},
      {L"1. A - Winamp [Paused] - Winamp [Stopped]", L"A", true, true},
      {L"", L"", false, false},
      {L"Artist - Title - Winamp", L"", false, false},
      {L"Title.mp3", L"", false, false},
      {L"Dr. Example - Song - Winamp", L"Example - Song", false, false},
      {L"3. Mr. X - Y - Winamp", L"Mr. X - Y", false, false},
      {L"Now: 7. Artist - Title - Winamp", L"Artist - Title", false, false},
      {L"2.0 12. Artist - Title - Winamp", L" 12. Artist - Title", false, false},
      {L"12.Artist - Title - Winamp", L"rtist - Title", false, false},
      {L"12.  Artist - Title - Winamp", L" Artist - Title", false, false},
      {L"12. Artist - Winamp Mix - Title - Winamp", L"Artist", false, false},
      {L"5. Song - Winamp [Paused] Mix - Winamp", L"Song", true, false},
      // The suffix begins right where the track would: no track.
      {L"Artist - Title 1.2 - Winamp", L"", false, false},
      {L"Artist - Title 1.25 - Winamp", L"5", false, false},
      // The suffix begins before the track would, or before the dot.
      {L"1. - Winamp", L"", false, false},
      {L"Title - Winamp 5.9", L"", false, false},
      // Spaces at both ends, as a window may report them.
      {L"  12. Artist - Title - Winamp [Stopped]  ", L"Artist - Title", false, true},
      // A reply shorter than announced: its null and the buffer's spaces behind it.
      {L"12. Artist - Title - Winamp [Paused]\0      "sv, L"Artist - Title", true, false},
      {L"1. Кино - Группа крови - Winamp [Paused]", L"Кино - Группа крови", true, false},
      {L"7. 坂本龍一 - 戦場のメリークリスマス - Winamp", L"坂本龍一 - 戦場のメリークリスマス",
       false, false},
  };
  for (const CaptionCase& c : cases) {
    FakeDesktop desktop;
    desktop.ShowPlayer(7, std::wstring(c.caption));
    const std::wstring shown(c.caption);
    EXPECT_EQ(GetWinampCurrentTrack(desktop), c.track) << shown;
    EXPECT_EQ(IsWinampPaused(desktop), c.paused) << shown;
    EXPECT_EQ(IsWinampStopped(desktop), c.stopped) << shown;
  }
}

TEST(PlayerCaption, OnlySpacesAreTrimmedAndANullEndsTheCaption) {
  const std::vector<std::pair<std::wstring_view, std::wstring_view>> cases = {
      {L"  12. Artist - Title - Winamp  ", L"12. Artist - Title - Winamp"},
      {L"\t12. A - Winamp\t", L"\t12. A - Winamp\t"},
      {L" \t A \t ", L"\t A \t"},
      {L"\u00a0Кино\u00a0", L"\u00a0Кино\u00a0"},
      {L"     ", L""},
      {L"12. A - Winamp\0     "sv, L"12. A - Winamp"},
      {L"  A \0 B - Winamp [Paused]"sv, L"A"},
      {L"\0     "sv, L""},
  };
  for (const auto& [raw, caption] : cases) {
    FakeDesktop desktop;
    desktop.captions[3] = std::wstring(raw);
    EXPECT_EQ(GetWindowCaption(desktop, 3), caption) << std::wstring(raw);
  }
}

TEST(PlayerCaption, AnEmptyTextContainsNothing) {
  EXPECT_FALSE(ContainsText(L"", L""));
  EXPECT_TRUE(ContainsText(L"x", L""));
}

}  // namespace
