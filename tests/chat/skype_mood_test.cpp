#include <gtest/gtest.h>

#include "chat/skype.h"
#include "fake_platform/fake_chat_client.h"
#include "fake_platform/fake_desktop.h"

namespace {

using Calls = std::vector<std::wstring>;

class SkypeMoodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop.windows[kChatClass] = 1234;
    client.mood = L"Out for lunch";
  }
  // The calls made since the last look, which then starts afresh.
  Calls TakeCalls() { return std::exchange(client.calls, {}); }

  FakeDesktop desktop;
  FakeAutomation automation;
  FakeChatClient& client = automation.client;
  SkypeMood skype{desktop, automation};
};

TEST_F(SkypeMoodTest, FindsTheChatClientByItsWindowClass) {
  EXPECT_EQ(FindSkypeWindow(desktop), 1234);
  EXPECT_EQ(desktop.lookups, 1);
}

TEST_F(SkypeMoodTest, WithoutTheWindowNothingIsCreatedOrCalled) {
  for (WindowHandle absent : {0, -5}) {
    desktop.windows[kChatClass] = absent;
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
  EXPECT_EQ(client.mood, L"Listening");
  EXPECT_EQ(TakeCalls(),
            (Calls{L"Create", L"Connect", L"ReadProfile", L"ReadMood", L"ReleaseProfile",
                   L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
  EXPECT_EQ(client.liveApplications, 1);
  EXPECT_EQ(client.liveProfiles, 0);
}

TEST_F(SkypeMoodTest, TheObjectOutlivesTheChatClientsAbsence) {
  std::wstring text;
  ASSERT_TRUE(skype.GetSkypeMood(text));
  desktop.windows[kChatClass] = 0;
  EXPECT_FALSE(skype.GetSkypeMood(text));
  desktop.windows[kChatClass] = 99;
  TakeCalls();
  EXPECT_TRUE(skype.SetSkypeMood(L"back"));
  EXPECT_EQ(TakeCalls(), (Calls{L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
  EXPECT_EQ(client.liveApplications, 1);
}

TEST_F(SkypeMoodTest, AFailedCreationIsTriedAgainByTheNextCall) {
  client.failNext[L"Create"] = 2;
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
  client.failNext[step] = 2;
  std::wstring text = L"stale";
  EXPECT_EQ(skype.GetSkypeMood(text), !onRead);
  EXPECT_EQ(text, onRead ? L"" : L"Out for lunch");
  const std::wstring wanted = L"<blink>A - B</blink>";
  EXPECT_EQ(skype.SetSkypeMood(wanted), !onWrite);
  EXPECT_EQ(client.mood, onWrite ? L"Out for lunch" : wanted);
  EXPECT_EQ(client.liveProfiles, 0);
  EXPECT_EQ(client.liveApplications, 1);

  client.failNext.clear();
  TakeCalls();
  EXPECT_TRUE(skype.GetSkypeMood(text));
  EXPECT_EQ(TakeCalls(), (Calls{L"Connect", L"ReadProfile", L"ReadMood", L"ReleaseProfile"}));
}

INSTANTIATE_TEST_SUITE_P(Steps, SkypeMoodStepFailureTest,
                         ::testing::Values(L"Connect", L"ReadProfile", L"ReadMood", L"WriteMood"));

TEST_F(SkypeMoodTest, EmptyAndMarkupTextsPassUnchanged) {
  client.mood = L"";
  std::wstring text = L"stale";
  EXPECT_TRUE(skype.GetSkypeMood(text));
  EXPECT_EQ(text, L"");

  const std::wstring markup = L"  <a href=\"http://x/\">A &amp; B</a>\t";
  EXPECT_TRUE(skype.SetSkypeMood(markup));
  EXPECT_EQ(client.mood, markup);
  EXPECT_TRUE(skype.SetSkypeMood(L""));
  EXPECT_EQ(client.mood, L"");
}

}  // namespace
