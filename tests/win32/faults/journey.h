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
#include "chat_standin.h"
#include "child_process.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"
#include "win32/registry.h"

// The user's own mood text and the track the journey plays.
inline const std::wstring kUserMood = L"Out for lunch & back at 2";
inline const std::wstring kTrack = L"Artist - Song";

// A window of the player's class in this process, showing whatever caption a step wants.
class PlayerWindow {
 public:
  PlayerWindow();
  ~PlayerWindow();
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  void Play() const { Show(L"1. " + kTrack + L" - Winamp"); }
  void Stop() const { Show(L"1. " + kTrack + L" - Winamp [Stopped]"); }

 private:
  void Show(const std::wstring& caption) const;
  HWND mWindow = nullptr;
};

// The stand-in chat client as a separate program, restarted when a step makes it vanish.
class ChatProgram {
 public:
  ChatProgram(std::wstring exe, std::wstring dll) : mExe(std::move(exe)), mDll(std::move(dll)) {}
  bool Register() const { return chat_standin::RegisterServer(mDll); }
  // Starts it (unless it runs) with the user's own mood text and no faults.
  bool Start();
  void Vanish();
  bool Running() const { return mChat.has_value(); }
  const chat_standin::ChatStandIn& Chat() const { return *mChat; }
  // Ends every injected fault.
  bool StopFaults() const;

 private:
  std::wstring mExe;
  std::wstring mDll;
  ChildProcess mProcess;
  HWND mWindow = nullptr;
  std::optional<chat_standin::ChatStandIn> mChat;
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
