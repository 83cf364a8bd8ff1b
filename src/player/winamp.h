#pragma once

#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "player/caption.h"

// The player's main window, looked up afresh on every call.
WindowHandle FindWinampWindow(const Desktop& desktop);
// Any window's caption without spaces at either end; "" when it has none.
std::wstring GetWindowCaption(const Desktop& desktop, WindowHandle window);
// The current track cut out of the player's caption; "" when there is none.
std::wstring GetWinampCurrentTrack(const Desktop& desktop);
bool IsWinampPaused(const Desktop& desktop);
bool IsWinampStopped(const Desktop& desktop);
