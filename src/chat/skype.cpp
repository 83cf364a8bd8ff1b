#include "chat/skype.h"

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
  const std::uint32_t value = buffer[0] | (buffer[1] << 8U) | (buffer[2] << 16U) |
                              (static_cast<std::uint32_t>(buffer[3]) << 24U);
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
