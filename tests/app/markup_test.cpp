#include "app/markup.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::wstring kLink = L"<a href=\"http://tunemood.github.io/html/tunemood.html\">";

TEST(Markup, PlayingIsALinkToTheHomePageAroundTheTrack) {
  EXPECT_EQ(FormatPlayingMood(L"Artist - Title"), kLink + L"Artist - Title</a>");
  EXPECT_EQ(FormatPlayingMood(L""), kLink + L"</a>");
  EXPECT_EQ(FormatPlayingMood(L"Мастер - Ночь ☂"), kLink + L"Мастер - Ночь ☂</a>");
}

TEST(Markup, PausedBlinksAroundWhatItIsGiven) {
  EXPECT_EQ(FormatPausedMood(FormatPlayingMood(L"A")), L"<blink>" + kLink + L"A</a></blink>");
  EXPECT_EQ(FormatPausedMood(L""), L"<blink></blink>");
}

TEST(Markup, MarkupCharactersOfTheTrackAreEscaped) {
  EXPECT_EQ(FormatPlayingMood(L"Tom & Jerry"), kLink + L"Tom &amp; Jerry</a>");
  EXPECT_EQ(FormatPlayingMood(L"<a href=\"http://evil\">x</a>"),
            kLink + L"&lt;a href=&quot;http://evil&quot;&gt;x&lt;/a&gt;</a>");
  // Apostrophes and entities already in the title are text like any other.
  EXPECT_EQ(FormatPlayingMood(L"It's &amp;"), kLink + L"It's &amp;amp;</a>");
}

TEST(Markup, RecognisesEveryMarkupItBuilds) {
  for (const std::wstring& track : std::vector<std::wstring>{
           L"", L"A - B", L"&", L"<blink>", L"\"q\" & <a>", L"</a>", L"&amp;", L"Ünïcødé ♫"}) {
    EXPECT_TRUE(IsOwnMarkup(FormatPlayingMood(track))) << track;
    EXPECT_TRUE(IsOwnMarkup(FormatPausedMood(FormatPlayingMood(track)))) << track;
  }
}

TEST(Markup, DoesNotTakeTheUsersTextForItsOwn) {
  for (const std::wstring& text : std::vector<std::wstring>{
           L"", L"Out for lunch", L"<blink></blink>", kLink, L"</a>", kLink + L"a<b</a>",
           kLink + L"a & b</a>", kLink + L"&amp</a>", kLink + L"x</a> and more",
           L"<blink>" + kLink + L"x</a>", L"<blink>" + kLink + L"a<b</a></blink>",
           L"<blink>" + kLink + L"&amp</a></blink>", L"<blink>plain</blink>",
           L"<a href=\"http://elsewhere/\">x</a>",
           L"<blink><blink>" + kLink + L"x</a></blink></blink>"}) {
    EXPECT_FALSE(IsOwnMarkup(text)) << text;
  }
}

}  // namespace
