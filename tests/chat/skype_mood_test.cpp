#include <gtest/gtest.h>

#include "chat/fake_chat.h"
#include "chat/skype.h"

namespace {

using namespace chat_test;

using Calls = std::vector<std::wstring>;

class SkypeMoodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop.chatWindow = 1234;
    component.mood = L"Out for lunch";
  }
  // The calls made since the last look, which then starts afresh.
  Calls TakeCalls() { return std::exchange(component.calls, {}); }

  FakeDesktop desktop;
  FakeAutomation automation;
  FakeComponent& component = automation.component;
  SkypeMood skype{desktop, automation};
};

TEST_F(SkypeMoodTest, FindsTheChatClientByItsWindowClass) {
  EXPECT_EQ(FindSkypeWindow(desktop), 1234);
  EXPECT_EQ(desktop.lookups, Calls{L"tSkMainForm"});
}

TEST_F(SkypeMoodTest, WithoutTheWindowNothingIsCreatedOrCalled) {
  for (WindowHandle absent : {0, -5}) {
    desktop.chatWindow = absent;
    std::wstring text = L"stale";
    EXPECT_FALSE(skype.GetSkypeMood(text));
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(skype.SetSkypeMood(L"x"));
  }
  EXPECT_EQ(TakeCalls(), Calls{});
}

TEST_F(SkypeMoodTest, AReadThenAWriteConnectTwiceOnOneObjectAndReleaseEachProfile) {
  std::wstring text;
  EXPECT_TRUE(skype.GetSkypeMood(text));
  EXPECT_EQ(text, L"Out for lunch");
  EXPECT_TRUE(skype.SetSkypeMood(L"Listening"));
  EXPECT_EQ(component.mood, L"Listening");
  EXPECT_EQ(TakeCalls(),
            (Calls{L"Create", L"Connect", L"ReadProfile", L"ReadMood", L"ReleaseProfile",
                   L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
  EXPECT_EQ(component.liveApplications, 1);
  EXPECT_EQ(component.liveProfiles, 0);
}

TEST_F(SkypeMoodTest, TheObjectOutlivesTheChatClientsAbsence) {
  std::wstring text;
  ASSERT_TRUE(skype.GetSkypeMood(text));
  desktop.chatWindow = 0;
  EXPECT_FALSE(skype.GetSkypeMood(text));
  desktop.chatWindow = 99;
  TakeCalls();
  EXPECT_TRUE(skype.SetSkypeMood(L"back"));
  EXPECT_EQ(TakeCalls(), (Calls{L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
  EXPECT_EQ(component.liveApplications, 1);
}

TEST_F(SkypeMoodTest, AFailedCreationIsTriedAgainByTheNextCall) {
  component.failNext[L"Create"] = 2;
  std::wstring text = L"stale";
  EXPECT_FALSE(skype.GetSkypeMood(text));
  EXPECT_EQ(text, L"");
  EXPECT_FALSE(skype.SetSkypeMood(L"x"));
  EXPECT_EQ(TakeCalls(), (Calls{L"Create failed", L"Create failed"}));
  EXPECT_TRUE(skype.SetSkypeMood(L"x"));
  EXPECT_EQ(TakeCalls(),
            (Calls{L"Create", L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
}

// Every step after the creation: the call fails, the object is kept, no profile stays alive.
class SkypeMoodStepFailureTest : public SkypeMoodTest,
                                 public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SkypeMoodStepFailureTest, FailsTheCallButKeepsTheObject) {
  const std::wstring step = GetParam();
  const bool onRead = step != L"WriteMood";
  const bool onWrite = step != L"ReadMood";
  component.failNext[step] = 2;
  std::wstring text = L"stale";
  EXPECT_EQ(skype.GetSkypeMood(text), !onRead);
  EXPECT_EQ(text, onRead ? L"" : L"Out for lunch");
  const std::wstring wanted = L"<blink>A - B</blink>";
  EXPECT_EQ(skype.SetSkypeMood(wanted), !onWrite);
  EXPECT_EQ(component.mood, onWrite ? L"Out for lunch" : wanted);
  EXPECT_EQ(component.liveProfiles, 0);
  EXPECT_EQ(component.liveApplications, 1);

  component.failNext.clear();
  TakeCalls();
  EXPECT_TRUE(skype.GetSkypeMood(text));
  EXPECT_EQ(TakeCalls(), (Calls{L"Connect", L"ReadProfile", L"ReadMood", L"ReleaseProfile"}));
}

INSTANTIATE_TEST_SUITE_P(Steps, SkypeMoodStepFailureTest,
                         ::testing::Values(L"Connect", L"ReadProfile", L"ReadMood", L"WriteMood"));

TEST_F(SkypeMoodTest, EmptyAndMarkupTextsPassUnchanged) {
  component.mood = L"";
  std::wstring text = L"stale";
  EXPECT_TRUE(skype.GetSkypeMood(text));
  EXPECT_EQ(text, L"");

  const std::wstring markup = L"  <a href=\"http://x/\">A &amp; B</a>\t";
  EXPECT_TRUE(skype.SetSkypeMood(markup));
  EXPECT_EQ(component.mood, markup);
  EXPECT_TRUE(skype.SetSkypeMood(L""));
  EXPECT_EQ(component.mood, L"");
}

}  // namespace
