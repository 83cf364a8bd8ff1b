#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

// The chat client's component as plain values: its mood text, the next calls of each kind that
// fail, the objects alive and a log of every call in order.
struct FakeChatClient {
  std::wstring mood;
  // Call name to how many of the next calls fail; -1 fails them all.
  std::map<std::wstring, int, std::less<>> failNext;
  int liveApplications = 0;
  int liveProfiles = 0;
  std::vector<std::wstring> calls;
  // Off for the benchmark's long runs, which must stay the same size.
  bool keepCalls = true;

  bool Call(std::wstring_view name) {
    const auto failing = failNext.find(name);
    const bool fails = failing != failNext.end() && failing->second != 0;
    if (fails && failing->second > 0) --failing->second;
    if (keepCalls) calls.push_back(std::wstring(name) + (fails ? L" failed" : L""));
    return !fails;
  }
};

class FakeProfile final : public ChatProfile {
 public:
  explicit FakeProfile(FakeChatClient& client) : mClient(client) { ++mClient.liveProfiles; }
  ~FakeProfile() override {
    --mClient.liveProfiles;
    if (mClient.keepCalls) mClient.calls.emplace_back(L"ReleaseProfile");
  }
  FakeProfile(const FakeProfile&) = delete;
  FakeProfile& operator=(const FakeProfile&) = delete;

  bool ReadMoodText(std::wstring& text) override {
    if (!mClient.Call(L"ReadMood")) return false;
    text = mClient.mood;
    return true;
  }
  bool WriteMoodText(const std::wstring& text) override {
    if (!mClient.Call(L"WriteMood")) return false;
    mClient.mood = text;
    return true;
  }

 private:
  FakeChatClient& mClient;
};

class FakeApplication final : public ChatApplication {
 public:
  explicit FakeApplication(FakeChatClient& client) : mClient(client) { ++mClient.liveApplications; }
  ~FakeApplication() override { --mClient.liveApplications; }
  FakeApplication(const FakeApplication&) = delete;
  FakeApplication& operator=(const FakeApplication&) = delete;

  bool Connect() override { return mClient.Call(L"Connect"); }
  std::unique_ptr<ChatProfile> ReadProfile() override {
    if (!mClient.Call(L"ReadProfile")) return nullptr;
    return std::make_unique<FakeProfile>(mClient);
  }

 private:
  FakeChatClient& mClient;
};

class FakeAutomation final : public Automation {
 public:
  FakeChatClient client;

  std::unique_ptr<ChatApplication> CreateApplication() override {
    if (!client.Call(L"Create")) return nullptr;
    return std::make_unique<FakeApplication>(client);
  }
};
