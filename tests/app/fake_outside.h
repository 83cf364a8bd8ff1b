#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/form_window.h"
#include "app/outside.h"
#include "player/caption.h"

// The player and the chat client as plain values, with a log of every call in order.
class FakeOutside : public Outside {
 public:
  WindowHandle chatWindow = 0;
  std::wstring mood;  // the chat client's mood text
  int failReads = 0;  // the next reads that fail; -1 for all
  int failWrites = 0;
  WindowHandle playerWindow = 0;
  std::wstring caption;
  bool apiDisabledAllUsers = false;
  bool apiDisabledCurrentUser = false;

  std::vector<std::wstring> calls;
  std::vector<std::wstring> writes;  // every text written successfully
  // Runs after each call is logged: lets a test change the world in the middle of a tick.
  std::function<void(const std::wstring& call)> afterCall;

  void Play(const std::wstring& track) { Show(L"1. " + track + L" - Winamp"); }
  void Pause(const std::wstring& track) { Show(L"1. " + track + L" - Winamp [Paused]"); }
  void Stop(const std::wstring& track) { Show(L"1. " + track + L" - Winamp [Stopped]"); }
  void Show(const std::wstring& playerCaption) {
    playerWindow = 4242;
    caption = playerCaption;
  }
  void ClosePlayer() {
    playerWindow = 0;
    caption.clear();
  }

  WindowHandle FindSkypeWindow() override { return Log(L"FindSkypeWindow"), chatWindow; }
  bool GetSkypeMood(std::wstring& text) override {
    Log(L"GetSkypeMood");
    text.clear();
    if (chatWindow <= 0 || Fails(failReads)) return false;
    text = mood;
    return true;
  }
  bool SetSkypeMood(const std::wstring& text) override {
    Log(L"SetSkypeMood " + text);
    if (chatWindow <= 0 || Fails(failWrites)) return false;
    mood = text;
    writes.push_back(text);
    return true;
  }
  bool IsSkypeApiDisabledAllUsers() override {
    return Log(L"IsSkypeApiDisabledAllUsers"), apiDisabledAllUsers;
  }
  bool IsSkypeApiDisabledCurrentUser() override {
    return Log(L"IsSkypeApiDisabledCurrentUser"), apiDisabledCurrentUser;
  }

  WindowHandle FindWinampWindow() override { return Log(L"FindWinampWindow"), playerWindow; }
  std::wstring GetWindowCaption(WindowHandle window) override {
    Log(L"GetWindowCaption");
    return window != 0 && window == playerWindow ? caption : std::wstring();
  }
  bool IsWinampStopped() override {
    Log(L"IsWinampStopped");
    return playerWindow > 0 && ContainsText(caption, L" - Winamp [Stopped]");
  }
  std::wstring GetWinampCurrentTrack() override {
    Log(L"GetWinampCurrentTrack");
    return playerWindow > 0 ? TrackFromCaption(caption) : std::wstring();
  }
  bool IsWinampPaused() override {
    Log(L"IsWinampPaused");
    return playerWindow > 0 && ContainsText(caption, L" - Winamp [Paused]");
  }

 private:
  void Log(const std::wstring& call) {
    calls.push_back(call);
    if (afterCall) afterCall(call);
  }
  static bool Fails(int& remaining) {
    if (remaining == 0) return false;
    if (remaining > 0) --remaining;
    return true;
  }
};

// The window as the synchroniser drives it.
class FakeForm : public FormWindow {
 public:
  bool checked = false;
  bool timerRunning = true;
  int reports = 0;
  bool cleared = false;

  void ShowDebugInformation() override { ++reports; }
  void SetEnabledChecked(bool value) override { checked = value; }
  void StopTimer() override { timerRunning = false; }
  void ClearWindow() override { cleared = true; }
};
