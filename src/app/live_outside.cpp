#include "app/live_outside.h"

#include "player/winamp.h"

WindowHandle LiveOutside::FindSkypeWindow() {
  return ::FindSkypeWindow(mDesktop);
}
bool LiveOutside::GetSkypeMood(std::wstring& text) {
  return mSkype.GetSkypeMood(text);
}
bool LiveOutside::SetSkypeMood(const std::wstring& text) {
  return mSkype.SetSkypeMood(text);
}
bool LiveOutside::IsSkypeApiDisabledAllUsers() {
  return ::IsSkypeApiDisabledAllUsers(mRegistry);
}
bool LiveOutside::IsSkypeApiDisabledCurrentUser() {
  return ::IsSkypeApiDisabledCurrentUser(mRegistry);
}

WindowHandle LiveOutside::FindWinampWindow() {
  return ::FindWinampWindow(mDesktop);
}
std::wstring LiveOutside::GetWindowCaption(WindowHandle window) {
  return ::GetWindowCaption(mDesktop, window);
}
bool LiveOutside::IsWinampStopped() {
  return ::IsWinampStopped(mDesktop);
}
std::wstring LiveOutside::GetWinampCurrentTrack() {
  return ::GetWinampCurrentTrack(mDesktop);
}
bool LiveOutside::IsWinampPaused() {
  return ::IsWinampPaused(mDesktop);
}
