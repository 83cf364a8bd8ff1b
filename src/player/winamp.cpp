#include "player/winamp.h"

#include "player/caption.h"

WindowHandle FindWinampWindow(const Desktop& desktop) {
  return desktop.FindWindowByClass(L"Winamp v1.x");
}

std::wstring GetWindowCaption(const Desktop& desktop, WindowHandle window) {
  return CleanCaption(desktop.ReadWindowText(window));
}

std::wstring GetWinampCurrentTrack(const Desktop& desktop) {
  const WindowHandle window = FindWinampWindow(desktop);
  if (window < 1) return {};
  return TrackFromCaption(GetWindowCaption(desktop, window));
}

namespace {

bool CaptionContains(const Desktop& desktop, std::wstring_view marker) {
  const WindowHandle window = FindWinampWindow(desktop);
  if (window < 1) return false;
  return ContainsText(GetWindowCaption(desktop, window), marker);
}

}  // namespace

bool IsWinampPaused(const Desktop& desktop) {
  return CaptionContains(desktop, L" - Winamp [Paused]");
}

bool IsWinampStopped(const Desktop& desktop) {
  return CaptionContains(desktop, L" - Winamp [Stopped]");
}
