#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/outside.h"

// Passes every call on, written down first by its procedure's name; a write carries its text.
class RecordingOutside final : public Outside {
 public:
  explicit RecordingOutside(Outside& inner) : mInner(inner) {}

  std::vector<std::wstring> calls;
  std::vector<std::wstring> writes;  // every text written successfully
  // Runs after a call is written down and before it is passed on: lets a test change the world,
  // or dispatch messages, while the call waits.
  std::function<void(const std::wstring& call)> afterCall;

  WindowHandle FindSkypeWindow() override {
    Log(L"FindSkypeWindow");
    return mInner.FindSkypeWindow();
  }
  bool GetSkypeMood(std::wstring& text) override {
    Log(L"GetSkypeMood");
    return mInner.GetSkypeMood(text);
  }
  bool SetSkypeMood(const std::wstring& text) override {
    Log(L"SetSkypeMood " + text);
    if (!mInner.SetSkypeMood(text)) return false;
    writes.push_back(text);
    return true;
  }
  bool IsSkypeApiDisabledAllUsers() override {
    Log(L"IsSkypeApiDisabledAllUsers");
    return mInner.IsSkypeApiDisabledAllUsers();
  }
  bool IsSkypeApiDisabledCurrentUser() override {
    Log(L"IsSkypeApiDisabledCurrentUser");
    return mInner.IsSkypeApiDisabledCurrentUser();
  }

  WindowHandle FindWinampWindow() override {
    Log(L"FindWinampWindow");
    return mInner.FindWinampWindow();
  }
  std::wstring GetWindowCaption(WindowHandle window) override {
    Log(L"GetWindowCaption");
    return mInner.GetWindowCaption(window);
  }
  bool IsWinampStopped() override {
    Log(L"IsWinampStopped");
    return mInner.IsWinampStopped();
  }
  std::wstring GetWinampCurrentTrack() override {
    Log(L"GetWinampCurrentTrack");
    return mInner.GetWinampCurrentTrack();
  }
  bool IsWinampPaused() override {
    Log(L"IsWinampPaused");
    return mInner.IsWinampPaused();
  }

 private:
  void Log(const std::wstring& call) {
    calls.push_back(call);
    if (afterCall) afterCall(call);
  }

  Outside& mInner;
};
