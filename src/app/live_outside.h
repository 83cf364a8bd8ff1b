#pragma once

#include "app/outside.h"
#include "chat/skype.h"
#include "platform/automation.h"
#include "platform/desktop.h"
#include "platform/registry.h"

// The player and the chat client as the running program sees them, through the platform.
class LiveOutside final : public Outside {
 public:
  LiveOutside(const Desktop& desktop, const Registry& registry, Automation& automation)
      : mDesktop(desktop), mRegistry(registry), mSkype(desktop, automation) {}

  WindowHandle FindSkypeWindow() override;
  bool GetSkypeMood(std::wstring& text) override;
  bool SetSkypeMood(const std::wstring& text) override;
  bool IsSkypeApiDisabledAllUsers() override;
  bool IsSkypeApiDisabledCurrentUser() override;

  WindowHandle FindWinampWindow() override;
  std::wstring GetWindowCaption(WindowHandle window) override;
  bool IsWinampStopped() override;
  std::wstring GetWinampCurrentTrack() override;
  bool IsWinampPaused() override;

 private:
  const Desktop& mDesktop;
  const Registry& mRegistry;
  SkypeMood mSkype;
};
