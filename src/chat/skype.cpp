#include "chat/skype.h"

#include <cstddef>
#include <cstdint>

WindowHandle FindSkypeWindow(const Desktop& desktop) {
  return desktop.FindWindowByClass(L"tSkMainForm");
}

namespace {

// Exactly 1 disables; the value's type is not looked at, so any value whose first four bytes
// read as the little-endian integer 1 counts.
bool IsApiDisabled(const Registry& registry, Hive hive) {
  std::array<std::uint8_t, 4> buffer{};
  if (!registry.ReadValue(hive, L"SOFTWARE\\Policies\\Skype\\Phone", L"DisableApi", buffer)) {
    return false;
  }
  std::uint32_t value = 0;
  for (std::size_t i = buffer.size(); i-- > 0;) value = (value << 8U) | buffer[i];
  return value == 1;
}

}  // namespace

bool IsSkypeApiDisabledAllUsers(const Registry& registry) {
  return IsApiDisabled(registry, Hive::LocalMachine);
}

bool IsSkypeApiDisabledCurrentUser(const Registry& registry) {
  return IsApiDisabled(registry, Hive::CurrentUser);
}

bool SkypeMood::GetSkypeMood(std::wstring& text) {
  std::unique_ptr<ChatProfile> profile = ConnectedProfile();
  if (profile && profile->ReadMoodText(text)) return true;
  text.clear();
  return false;
}

bool SkypeMood::SetSkypeMood(const std::wstring& text) {
  std::unique_ptr<ChatProfile> profile = ConnectedProfile();
  return profile && profile->WriteMoodText(text);
}

std::unique_ptr<ChatProfile> SkypeMood::ConnectedProfile() {
  if (FindSkypeWindow(mDesktop) <= 0) return nullptr;
  if (!gSkype) gSkype = mAutomation.CreateApplication();
  if (!gSkype || !gSkype->Connect()) return nullptr;
  return gSkype->ReadProfile();
}
