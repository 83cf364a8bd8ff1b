#pragma once

#include <string>
#include <string_view>

// The mood text shown while a track plays: a link to the home page around the track.
std::wstring FormatPlayingMood(const std::wstring& track);
// The same wrapped in blink markup, for a paused track.
std::wstring FormatPausedMood(const std::wstring& text);
// True when the text is exactly a markup this program writes, playing or paused, for some track.
bool IsOwnMarkup(std::wstring_view text);
