#include "app/main.h"

#include <gtest/gtest.h>

#include "app/markup.h"
#include "app/state.h"
#include "app/synchroniser.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_world.h"

namespace {

class FakeProgram : public Program {
 public:
  bool anotherCopy = false;
  bool shown = false;
  bool IsAnotherCopyRunning() override { return anotherCopy; }
  void LoadAndShowFrmMain() override { shown = true; }
};

class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gInitialMood = L"left over";
    gInitialMoodKnown = true;
    gEnabled = true;
  }
  FakeWorld world;
  FakeProgram program;
};

TEST_F(MainTest, ASecondCopyEndsWithoutTouchingAnything) {
  program.anotherCopy = true;
  world.OpenChat(7);
  Main(world.outside, program);
  EXPECT_TRUE(world.outside.calls.empty());
  EXPECT_FALSE(program.shown);
}

TEST_F(MainTest, CapturesTheUsersMoodAndStartsSwitchedOff) {
  world.OpenChat(7);
  world.chat.mood = L"Busy";
  Main(world.outside, program);
  EXPECT_EQ(gInitialMood, L"Busy");
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_FALSE(gEnabled);
  EXPECT_TRUE(program.shown);
  EXPECT_TRUE(world.outside.writes.empty());
}

TEST_F(MainTest, AnEmptyMoodIsKnown) {
  world.OpenChat(7);
  Main(world.outside, program);
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_TRUE(gInitialMoodKnown);
}

TEST_F(MainTest, WithoutChatClientOrReadNoMoodIsKnown) {
  Main(world.outside, program);
  EXPECT_FALSE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_EQ(world.outside.calls, std::vector<std::wstring>{L"FindSkypeWindow"});

  world.OpenChat(7);
  world.FailReads(1);
  Main(world.outside, program);
  EXPECT_FALSE(gInitialMoodKnown);
  EXPECT_TRUE(program.shown);
}

TEST_F(MainTest, OurLinkLeftFromAKilledRunIsNotTakenForTheUsersText) {
  world.OpenChat(7);
  world.chat.mood = FormatPlayingMood(L"A - B");
  Main(world.outside, program);
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, L"");
}

// As a tick's capture does: the link is ours to put back, also switched off.
TEST_F(MainTest, TheFirstTickPutsBackALinkOfOursThatStartUpFound) {
  world.OpenChat(7);
  world.chat.mood = FormatPlayingMood(L"A - B");
  Main(world.outside, program);
  FakeForm form;
  Synchroniser sync(world.outside, form);
  sync.tmrTimer_Timer();
  EXPECT_EQ(world.chat.mood, L"");
}

}  // namespace
