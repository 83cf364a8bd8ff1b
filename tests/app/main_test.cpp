#include "app/main.h"

#include <gtest/gtest.h>

#include "app/fake_outside.h"
#include "app/markup.h"
#include "app/state.h"

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
  FakeOutside world;
  FakeProgram program;
};

TEST_F(MainTest, ASecondCopyEndsWithoutTouchingAnything) {
  program.anotherCopy = true;
  world.chatWindow = 7;
  Main(world, program);
  EXPECT_TRUE(world.calls.empty());
  EXPECT_FALSE(program.shown);
}

TEST_F(MainTest, CapturesTheUsersMoodAndStartsSwitchedOff) {
  world.chatWindow = 7;
  world.mood = L"Busy";
  Main(world, program);
  EXPECT_EQ(gInitialMood, L"Busy");
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_FALSE(gEnabled);
  EXPECT_TRUE(program.shown);
  EXPECT_TRUE(world.writes.empty());
}

TEST_F(MainTest, AnEmptyMoodIsKnown) {
  world.chatWindow = 7;
  Main(world, program);
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_TRUE(gInitialMoodKnown);
}

TEST_F(MainTest, WithoutChatClientOrReadNoMoodIsKnown) {
  Main(world, program);
  EXPECT_FALSE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, L"");
  EXPECT_EQ(world.calls, std::vector<std::wstring>{L"FindSkypeWindow"});

  world.chatWindow = 7;
  world.failReads = 1;
  Main(world, program);
  EXPECT_FALSE(gInitialMoodKnown);
  EXPECT_TRUE(program.shown);
}

TEST_F(MainTest, OurLinkLeftFromAKilledRunIsNotTakenForTheUsersText) {
  world.chatWindow = 7;
  world.mood = FormatPlayingMood(L"A - B");
  Main(world, program);
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, L"");
}

}  // namespace
