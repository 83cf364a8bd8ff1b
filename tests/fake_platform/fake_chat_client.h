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
  // A call waits before its effect, then is answered.
  enum class Phase { Waiting, Succeeded, Failed };

  std::wstring mood;
  // Call name to how many of the next calls fail; -1 fails them all.
  std::map<std::wstring, int, std::less<>> failNext;
  int liveApplications = 0;
  int liveProfiles = 0;
  std::vector<std::wstring> calls;
  // Off for the benchmark's long runs, which must stay the same size.
  bool keepCalls = true;
  // Runs while a call waits, before its effect and once it is answered: the real component's
  // wait dispatches the program's messages there.
  std::function<void(std::wstring_view name, Phase phase)> whileWaiting;

  bool Call(std::wstring_view name) {
    Wait(name, Phase::Waiting);
    const auto failing = failNext.find(name);
    const bool fails = failing != failNext.end() && failing->second != 0;
    if (fails && failing->second > 0) --failing->second;
    if (keepCalls) calls.push_back(std::wstring(name) + (fails ? L" failed" : L""));
    return !fails;
  }
  // The call's effect has happened, or it failed; its caller is not answered yet.
  void Answer(std::wstring_view name, bool succeeded) {
    Wait(name, succeeded ? Phase::Succeeded : Phase::Failed);
  }

 private:
  void Wait(std::wstring_view name, Phase phase) {
    if (whileWaiting) whileWaiting(name, phase);
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
    const bool read = mClient.Call(L"ReadMood");
    if (read) text = mClient.mood;
    mClient.Answer(L"ReadMood", read);
    return read;
  }
  bool WriteMoodText(const std::wstring& text) override {
    const bool written = mClient.Call(L"WriteMood");
    if (written) mClient.mood = text;
    mClient.Answer(L"WriteMood", written);
    return written;
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

  bool Connect() override {
    const bool connected = mClient.Call(L"Connect");
    mClient.Answer(L"Connect", connected);
    return connected;
  }
  std::unique_ptr<ChatProfile> ReadProfile() override {
    auto profile = mClient.Call(L"ReadProfile") ? std::make_unique<FakeProfile>(mClient) : nullptr;
    mClient.Answer(L"ReadProfile", profile != nullptr);
    return profile;
  }

 private:
  FakeChatClient& mClient;
};

class FakeAutomation final : public Automation {
 public:
  FakeChatClient client;

  std::unique_ptr<ChatApplication> CreateApplication() override {
    auto application = client.Call(L"Create") ? std::make_unique<FakeApplication>(client) : nullptr;
    client.Answer(L"Create", application != nullptr);
    return application;
  }
};
