#include "ui/debug_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/state.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_world.h"

namespace {

class DebugReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gEnabled = false;
    gInitialMood.clear();
    gInitialMoodKnown = false;
  }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> texts;
    for (const ReportLine& line : BuildDebugInformation(world.outside)) texts.push_back(line.text);
    return texts;
  }

  FakeWorld world;
};

TEST_F(DebugReportTest, NothingRunningGivesTheFullReportWithEmptyValues) {
  const std::vector<std::wstring> expected = {
      L"Setting Skype Status As Winamp Current Track? False",
      L"",
      L"Skype Debug Information",
      L"",
      L"Skype Window Found? False",
      L"Skype Window Handle: 0",
      L"",
      L"Initial Skype Status (Mood):",
      L"",
      L"",
      L"Skype API Disabled? False",
      L"",
      L"Winamp Debug Information",
      L"",
      L"Winamp Window Found? False",
      L"Winamp Window Handle: 0",
      L"",
      L"Winamp Window Caption:",
      L"",
      L"",
      L"Winamp Current Track Stopped? False",
      L"Winamp Current Track Paused? False",
      L"",
      L"Winamp Current Track:",
      L""};
  EXPECT_EQ(Texts(), expected);
}

TEST_F(DebugReportTest, OnlyTheTwoHeadingsAreBold) {
  const std::vector<ReportLine> lines = BuildDebugInformation(world.outside);
  ASSERT_EQ(lines.size(), 25u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool heading = i == 2 || i == 12;  // lines 3 and 13
    EXPECT_EQ(lines[i].bold, heading) << "line " << i + 1;
  }
}

TEST_F(DebugReportTest, AsksEachValueOnceInTheOrderOfItsLine) {
  world.OpenChat();
  world.Play(L"A - B");
  BuildDebugInformation(world.outside);
  const std::vector<std::wstring> expected = {
      L"FindSkypeWindow",  L"IsSkypeApiDisabledAllUsers", L"IsSkypeApiDisabledCurrentUser",
      L"FindWinampWindow", L"GetWindowCaption",           L"IsWinampStopped",
      L"IsWinampPaused",   L"GetWinampCurrentTrack"};
  EXPECT_EQ(world.outside.calls, expected);
}

TEST_F(DebugReportTest, ShowsTheSwitchTheSavedMoodAndTheChatWindow) {
  gEnabled = true;
  gInitialMood = L"Out for lunch";
  gInitialMoodKnown = true;
  world.OpenChat(131234);
  const std::vector<std::wstring> texts = Texts();
  EXPECT_EQ(texts[0], L"Setting Skype Status As Winamp Current Track? True");
  EXPECT_EQ(texts[4], L"Skype Window Found? True");
  EXPECT_EQ(texts[5], L"Skype Window Handle: 131234");
  EXPECT_EQ(texts[8], L"Out for lunch");
}

TEST_F(DebugReportTest, TheMachineWidePolicyWinsAndThePerUserOneIsThenNotAsked) {
  world.registry.policy[Hive::LocalMachine] = {1, 0, 0, 0};
  world.registry.policy[Hive::CurrentUser] = {1, 0, 0, 0};
  EXPECT_EQ(Texts()[10], L"Skype API Disabled? True, all users");
  EXPECT_EQ(std::count(world.outside.calls.begin(), world.outside.calls.end(),
                       L"IsSkypeApiDisabledCurrentUser"),
            0);

  world.registry.policy.erase(Hive::LocalMachine);
  EXPECT_EQ(Texts()[10], L"Skype API Disabled? True, current user");
}

TEST_F(DebugReportTest, AStoppedPlayerStillShowsItsTrack) {
  world.OpenChat();
  world.Show(L"  1. Artist - Title - Winamp [Stopped] ");
  const std::vector<std::wstring> texts = Texts();
  EXPECT_EQ(texts[14], L"Winamp Window Found? True");
  EXPECT_EQ(texts[15], L"Winamp Window Handle: 4242");
  EXPECT_EQ(texts[18], L"1. Artist - Title - Winamp [Stopped]");
  EXPECT_EQ(texts[20], L"Winamp Current Track Stopped? True");
  EXPECT_EQ(texts[21], L"Winamp Current Track Paused? False");
  EXPECT_EQ(texts[24], L"Artist - Title");
}

TEST_F(DebugReportTest, ANegativeHandleCountsAsFoundAndPrintsWithItsSign) {
  world.OpenChat(-5);
  world.desktop.windows[kPlayerClass] = -2147483647 - 1;
  const std::vector<std::wstring> texts = Texts();
  EXPECT_EQ(texts[4], L"Skype Window Found? True");
  EXPECT_EQ(texts[5], L"Skype Window Handle: -5");
  EXPECT_EQ(texts[14], L"Winamp Window Found? True");
  EXPECT_EQ(texts[15], L"Winamp Window Handle: -2147483648");
}

}  // namespace
