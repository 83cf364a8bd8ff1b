#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/form_window.h"
#include "app/live_outside.h"
#include "app/main.h"
#include "app/synchroniser.h"
#include "standins.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"
#include "win32/registry.h"

// The user's own mood text and the track the journey plays, with the player's captions for it.
inline const std::wstring kUserMood = L"Out for lunch & back at 2";
inline const std::wstring kTrack = L"Artist - Song";
inline const std::wstring kPlayingCaption = L"1. " + kTrack + L" - Winamp";
inline const std::wstring kStoppedCaption = kPlayingCaption + L" [Stopped]";

// The stand-in chat client, restarted when a step makes it vanish.
class ChatProgram {
 public:
  // Starts it (unless it runs) with the user's own mood text and no faults.
  bool Start();
  void Vanish() { mClient.Close(); }
  bool Running() const { return mClient.Running(); }
  const chat_standin::ChatStandIn& Chat() const { return mClient.Chat(); }
  // Ends every injected fault.
  bool StopFaults() const;

 private:
  ChatClient mClient;
};

// The desktop, with a hook that runs whenever the chat client's window has just been found.
class WatchedDesktop final : public Desktop {
 public:
  WindowHandle FindWindowByClass(const wchar_t* className) const override;
  std::wstring ReadWindowText(WindowHandle window) const override {
    return mDesktop.ReadWindowText(window);
  }
  // Runs after every lookup that finds the chat client's window, before the caller goes on.
  std::function<void()> afterChatFound;

 private:
  Win32Desktop mDesktop;
};

// One run of Tunemood made of its real handlers: start-up, then the window's handlers as its
// messages would call them. The window itself is left out; its report is still built.
class ProgramRun final : public Program, public FormWindow {
 public:
  explicit ProgramRun(WatchedDesktop& desktop) : mOutside(desktop, mRegistry, mAutomation) {}

  bool IsAnotherCopyRunning() override { return false; }
  void LoadAndShowFrmMain() override { mSync.emplace(mOutside, *this); }
  void ShowDebugInformation() override;
  void SetEnabledChecked(bool) override {}
  void StopTimer() override {}
  void ClearWindow() override {}

  void Start() { Main(mOutside, *this); }
  Synchroniser& Sync() { return *mSync; }

 private:
  Win32Registry mRegistry;
  ComAutomation mAutomation;
  LiveOutside mOutside;
  std::optional<Synchroniser> mSync;
};
