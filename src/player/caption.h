#pragma once

#include <string>
#include <string_view>

// A caption as the window handed it out, cut at its first null character and without spaces
// at either end. Only spaces are trimmed: tabs and other white space stay.
std::wstring CleanCaption(std::wstring_view raw);
// The track between the first "." (and the one character after it) and the first " - Winamp";
// "" when either is missing or they leave no room between them.
std::wstring TrackFromCaption(std::wstring_view caption);
// True when the pattern occurs in the text, letters compared without regard to case.
bool ContainsText(std::wstring_view text, std::wstring_view pattern);
