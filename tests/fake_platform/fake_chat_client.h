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
  // A call waits before its effect, then is answered; a request whose caller gave up waiting
  // lands later.
  enum class Phase { Waiting, Succeeded, Failed, Landed };
  enum class Outcome { Succeeded, Failed, Abandoned };

  std::wstring mood;
  // Call name to how many of the next calls fail; -1 fails them all.
  std::map<std::wstring, int, std::less<>> failNext;
  int liveApplications = 0;
  int liveProfiles = 0;
  std::vector<std::wstring> calls;
  // Off for the benchmark's long runs, which must stay the same size.
  bool keepCalls = true;
  // Runs while a call waits, before its effect and once it is answered: the real component's
  // wait dispatches the program's messages there. True when the wait gives up the call, which
  // then fails, though the chat client may still carry it out.
  std::function<bool(std::wstring_view name, Phase phase)> whileWaiting;
  // Writes whose caller gave up before their effect: the chat client carries them out, in
  // order, before the next request.
  std::vector<std::wstring> lateMoods;

  Outcome Call(std::wstring_view name) {
    Land();
    if (Wait(name, Phase::Waiting)) {
      Log(name, L" abandoned");
      return Outcome::Abandoned;
    }
    const auto failing = failNext.find(name);
    const bool fails = failing != failNext.end() && failing->second != 0;
    if (fails && failing->second > 0) --failing->second;
    Log(name, fails ? L" failed" : L"");
    return fails ? Outcome::Failed : Outcome::Succeeded;
  }
  // The call's effect has happened, or it failed; its caller is not answered yet. True when the
  // caller hears of success.
  bool Answer(std::wstring_view name, Outcome outcome) {
    const bool succeeded = outcome == Outcome::Succeeded;
    if (outcome == Outcome::Abandoned) return false;
    return !Wait(name, succeeded ? Phase::Succeeded : Phase::Failed) && succeeded;
  }
  // Carries out what was given up on: the end of the program does not stop the chat client.
  void Land() {
    for (std::wstring& late : lateMoods) {
      mood = std::move(late);
      Wait(L"WriteMood", Phase::Landed);
    }
    lateMoods.clear();
  }

 private:
  bool Wait(std::wstring_view name, Phase phase) {
    return whileWaiting && whileWaiting(name, phase);
  }
  void Log(std::wstring_view name, const wchar_t* how) {
    if (keepCalls) calls.push_back(std::wstring(name) + how);
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
    const FakeChatClient::Outcome outcome = mClient.Call(L"ReadMood");
    if (outcome == FakeChatClient::Outcome::Succeeded) text = mClient.mood;
    return mClient.Answer(L"ReadMood", outcome);
  }
  bool WriteMoodText(const std::wstring& text) override {
    const FakeChatClient::Outcome outcome = mClient.Call(L"WriteMood");
    if (outcome == FakeChatClient::Outcome::Succeeded) mClient.mood = text;
    if (outcome == FakeChatClient::Outcome::Abandoned) mClient.lateMoods.push_back(text);
    return mClient.Answer(L"WriteMood", outcome);
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

  bool Connect() override { return mClient.Answer(L"Connect", mClient.Call(L"Connect")); }
  std::unique_ptr<ChatProfile> ReadProfile() override {
    if (!mClient.Answer(L"ReadProfile", mClient.Call(L"ReadProfile"))) return nullptr;
    return std::make_unique<FakeProfile>(mClient);
  }

 private:
  FakeChatClient& mClient;
};

class FakeAutomation final : public Automation {
 public:
  FakeChatClient client;

  std::unique_ptr<ChatApplication> CreateApplication() override {
    if (!client.Answer(L"Create", client.Call(L"Create"))) return nullptr;
    return std::make_unique<FakeApplication>(client);
  }
};
