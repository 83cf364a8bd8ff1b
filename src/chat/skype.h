#pragma once

#include <memory>
#include <string>

#include "platform/automation.h"
#include "platform/desktop.h"
#include "platform/registry.h"

// The chat client's main window; 0 when it does not run.
WindowHandle FindSkypeWindow(const Desktop& desktop);
// Whether policy disables the chat client's programming interface, machine-wide or for this user.
bool IsSkypeApiDisabledAllUsers(const Registry& registry);
bool IsSkypeApiDisabledCurrentUser(const Registry& registry);

// The user's mood text through the chat client's automation object. Every failure ends in false.
class SkypeMood {
 public:
  SkypeMood(const Desktop& desktop, Automation& automation)
      : mDesktop(desktop), mAutomation(automation) {}

  // True with the mood text read; false with "".
  bool GetSkypeMood(std::wstring& text);
  bool SetSkypeMood(const std::wstring& text);

 private:
  // The profile object of a call, after the connect request; nullptr when the chat client does
  // not run or any step fails.
  std::unique_ptr<ChatProfile> ConnectedProfile();

  const Desktop& mDesktop;
  Automation& mAutomation;
  // Created by the first call that finds the chat client, then kept for the whole run.
  std::unique_ptr<ChatApplication> gSkype;
};
