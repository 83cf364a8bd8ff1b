#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "platform/desktop.h"

// Own namespace: the unit-test binary links fakes of other subsystems too.
namespace chat_test {

// A desktop with at most one chat client window.
class FakeDesktop final : public Desktop {
 public:
  WindowHandle chatWindow = 0;
  mutable std::vector<std::wstring> lookups;

  WindowHandle FindWindowByClass(const wchar_t* className) const override {
    lookups.emplace_back(className);
    return lookups.back() == L"tSkMainForm" ? chatWindow : 0;
  }
  std::wstring ReadWindowText(WindowHandle) const override { return {}; }
};

// The chat client's component as plain values: a log of every call in order, the next calls of
// each kind that fail, and the objects alive.
struct FakeComponent {
  std::wstring mood;
  std::map<std::wstring, int> failNext;  // call name -> how many of the next calls fail
  std::vector<std::wstring> calls;
  int liveApplications = 0;
  int liveProfiles = 0;

  bool Call(const std::wstring& name) {
    calls.push_back(name);
    int& failures = failNext[name];
    if (failures == 0) return true;
    --failures;
    calls.back() += L" failed";
    return false;
  }
};

class FakeProfile final : public ChatProfile {
 public:
  explicit FakeProfile(FakeComponent& component) : mComponent(component) {
    ++mComponent.liveProfiles;
  }
  ~FakeProfile() override {
    --mComponent.liveProfiles;
    mComponent.calls.emplace_back(L"ReleaseProfile");
  }

  bool ReadMoodText(std::wstring& text) override {
    if (!mComponent.Call(L"ReadMood")) return false;
    text = mComponent.mood;
    return true;
  }
  bool WriteMoodText(const std::wstring& text) override {
    if (!mComponent.Call(L"WriteMood")) return false;
    mComponent.mood = text;
    return true;
  }

 private:
  FakeComponent& mComponent;
};

class FakeApplication final : public ChatApplication {
 public:
  explicit FakeApplication(FakeComponent& component) : mComponent(component) {
    ++mComponent.liveApplications;
  }
  ~FakeApplication() override { --mComponent.liveApplications; }

  bool Connect() override { return mComponent.Call(L"Connect"); }
  std::unique_ptr<ChatProfile> ReadProfile() override {
    if (!mComponent.Call(L"ReadProfile")) return nullptr;
    return std::make_unique<FakeProfile>(mComponent);
  }

 private:
  FakeComponent& mComponent;
};

class FakeAutomation final : public Automation {
 public:
  FakeComponent component;

  std::unique_ptr<ChatApplication> CreateApplication() override {
    if (!component.Call(L"Create")) return nullptr;
    return std::make_unique<FakeApplication>(component);
  }
};

}  // namespace chat_test
