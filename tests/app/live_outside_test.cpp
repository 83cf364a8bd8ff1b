#include "app/live_outside.h"

#include <gtest/gtest.h>

#include "chat/fake_chat.h"
#include "player/fake_desktop.h"

namespace {

// The policy switched on in either hive, or in neither.
class PolicyRegistry final : public Registry {
 public:
  bool machineDisables = false;
  bool userDisables = false;

  bool ReadValue(Hive hive, const wchar_t*, const wchar_t*,
                 std::array<std::uint8_t, 4>& buffer) const override {
    buffer.fill(0);
    buffer[0] = (hive == Hive::LocalMachine ? machineDisables : userDisables) ? 1 : 0;
    return true;
  }
};

class LiveOutsideTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  PolicyRegistry registry;
  chat_test::FakeAutomation automation;
  LiveOutside outside{desktop, registry, automation};
};

TEST_F(LiveOutsideTest, ThePlayerIsReadFromItsOwnWindow) {
  desktop.windows[L"tSkMainForm"] = 55;
  desktop.ShowPlayer(66, L" 3. Artist - Title - Winamp [Paused] ");
  EXPECT_EQ(outside.FindWinampWindow(), 66);
  EXPECT_EQ(outside.GetWindowCaption(66), L"3. Artist - Title - Winamp [Paused]");
  EXPECT_EQ(outside.GetWinampCurrentTrack(), L"Artist - Title");
  EXPECT_TRUE(outside.IsWinampPaused());
  EXPECT_FALSE(outside.IsWinampStopped());

  desktop.ShowPlayer(66, L"3. Artist - Title - Winamp [Stopped]");
  EXPECT_FALSE(outside.IsWinampPaused());
  EXPECT_TRUE(outside.IsWinampStopped());
}

TEST_F(LiveOutsideTest, EachHiveAnswersForItsOwnPolicy) {
  registry.machineDisables = true;
  EXPECT_TRUE(outside.IsSkypeApiDisabledAllUsers());
  EXPECT_FALSE(outside.IsSkypeApiDisabledCurrentUser());

  registry.machineDisables = false;
  registry.userDisables = true;
  EXPECT_FALSE(outside.IsSkypeApiDisabledAllUsers());
  EXPECT_TRUE(outside.IsSkypeApiDisabledCurrentUser());
}

TEST_F(LiveOutsideTest, TheMoodGoesThroughTheChatClientsObject) {
  desktop.ShowPlayer(66, L"3. Artist - Title - Winamp");
  desktop.windows[L"tSkMainForm"] = 55;
  automation.component.mood = L"Out for lunch";
  EXPECT_EQ(outside.FindSkypeWindow(), 55);
  std::wstring mood;
  EXPECT_TRUE(outside.GetSkypeMood(mood));
  EXPECT_EQ(mood, L"Out for lunch");
  EXPECT_TRUE(outside.SetSkypeMood(L"Busy"));
  EXPECT_EQ(automation.component.mood, L"Busy");
}

}  // namespace
