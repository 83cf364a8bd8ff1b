#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "chat/skype.h"
#include "standins.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"

namespace {

using chat_standin::Call;
using chat_standin::Request;

std::vector<std::wstring> Names(const std::vector<Call>& calls) {
  std::vector<std::wstring> names;
  for (const Call& call : calls) names.push_back(call.name);
  return names;
}

// What only the real platform shows of the mood's way through the component: the method-table
// positions and their arguments, HRESULTs, text through BSTRs, and the objects' real reference
// counts. The order of the calls and their failures as SkypeMood sees them are the native
// tests' (tests/chat). Against the stand-in chat client, which runs from the start of each test.
class MoodTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterChatStandIn()); }
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(client.Start(L""));
    chat = &client.Chat();
  }
  void TearDown() override {
    // The application object goes while the stand-in still sees its release.
    skype.reset();
    EXPECT_TRUE(client.Close());
    ::CoUninitialize();
  }

  std::wstring Read(bool expected) {
    std::wstring text = L"stale";
    EXPECT_EQ(skype->GetSkypeMood(text), expected);
    return text;
  }

  ChatClient client;
  const chat_standin::ChatStandIn* chat = nullptr;
  Win32Desktop desktop;
  ComAutomation automation;
  std::unique_ptr<SkypeMood> skype = std::make_unique<SkypeMood>(desktop, automation);
};

TEST_F(MoodTest, AReadThenAWriteConnectTwiceOnTheOneObjectAndReleaseEveryProfile) {
  ASSERT_TRUE(chat->SetMood(L"Out for lunch"));
  EXPECT_EQ(Read(true), L"Out for lunch");
  EXPECT_TRUE(skype->SetSkypeMood(L"Listening"));
  EXPECT_EQ(chat->Mood(), L"Listening");

  const std::vector<Call> log = chat->Log();
  EXPECT_EQ(Names(log), (std::vector<std::wstring>{
                            L"Create", L"Connect", L"ReadProfile", L"ReadMood", L"ReleaseProfile",
                            L"Connect", L"ReadProfile", L"WriteMood", L"ReleaseProfile"}));
  for (const Call& call : log) {
    EXPECT_EQ(call.process, ::GetCurrentProcessId());
    EXPECT_EQ(call.result, S_OK);
  }
  for (const Call& connect : chat->Log(L"Connect")) {
    EXPECT_EQ(connect.object, log.front().object);
    EXPECT_EQ(connect.first, 5);
    EXPECT_EQ(connect.second, -1);
  }
  EXPECT_EQ(chat->LiveApplications(), 1);
  EXPECT_EQ(chat->LiveProfiles(), 0);

  skype.reset();
  EXPECT_EQ(chat->LiveApplications(), 0);
}

TEST_F(MoodTest, AFailedCreationIsTriedAgainByTheNextCall) {
  ASSERT_TRUE(chat->FailNext(Request::Create));
  EXPECT_EQ(Read(false), L"");
  EXPECT_TRUE(skype->SetSkypeMood(L"x"));
  const std::vector<Call> creations = chat->Log(L"Create");
  ASSERT_EQ(creations.size(), 2U);
  EXPECT_EQ(creations[0].result, E_FAIL);
  EXPECT_EQ(creations[1].result, S_OK);
  EXPECT_EQ(chat->LiveApplications(), 1);
}

// Each step after the creation: the failure reaches the caller as false, the object is kept
// and the profile object is released.
class MoodStepFailureTest : public MoodTest, public ::testing::WithParamInterface<Request> {};

TEST_P(MoodStepFailureTest, FailsTheCallAndKeepsTheObject) {
  const bool onRead = GetParam() != Request::WriteMood;
  const bool onWrite = GetParam() != Request::ReadMood;
  ASSERT_TRUE(chat->SetMood(L"Out for lunch"));
  ASSERT_TRUE(chat->FailNext(GetParam(), onRead && onWrite ? 2 : 1));
  EXPECT_EQ(Read(!onRead), onRead ? L"" : L"Out for lunch");
  EXPECT_EQ(skype->SetSkypeMood(L"Listening"), !onWrite);
  EXPECT_EQ(chat->Mood(), onWrite ? L"Out for lunch" : L"Listening");
  EXPECT_EQ(chat->LiveProfiles(), 0);

  EXPECT_TRUE(skype->SetSkypeMood(L"later"));
  EXPECT_EQ(chat->Log(L"Create").size(), 1U);
  EXPECT_EQ(chat->LiveApplications(), 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, MoodStepFailureTest,
                         ::testing::Values(Request::Connect, Request::ReadProfile,
                                           Request::ReadMood, Request::WriteMood),
                         [](const auto& testCase) { return CallNameText(testCase.param); });

TEST_F(MoodTest, SuccessStatusesOtherThanZeroLetTheCallsGoOn) {
  for (Request kind : {Request::Create, Request::Connect, Request::ReadProfile, Request::ReadMood,
                       Request::WriteMood}) {
    ASSERT_TRUE(chat->AnswerNext(kind, -1, S_FALSE));
  }
  ASSERT_TRUE(chat->SetMood(L"own"));
  EXPECT_EQ(Read(true), L"own");
  EXPECT_TRUE(skype->SetSkypeMood(L"new"));
  EXPECT_EQ(chat->Mood(), L"new");
  EXPECT_EQ(chat->LiveProfiles(), 0);
}

TEST_F(MoodTest, TextsPassCharacterForCharacter) {
  ASSERT_TRUE(chat->SetMood(L""));
  EXPECT_EQ(Read(true), L"");

  const std::wstring markup =
      L"<blink><a href=\"http://tunemood.example/\">A &amp; B - C</a></blink> ";
  EXPECT_TRUE(skype->SetSkypeMood(markup));
  EXPECT_EQ(chat->Mood(), markup);
  EXPECT_EQ(chat->Log(L"WriteMood").at(0).text, markup);

  const std::wstring unicode = L"Gr\u00FC\u00DFe \u65E5\u672C \U0001F3B5\ttab \\ back";
  ASSERT_TRUE(chat->SetMood(unicode));
  EXPECT_EQ(Read(true), unicode);
  EXPECT_TRUE(skype->SetSkypeMood(L"  " + unicode));
  EXPECT_EQ(chat->Mood(), L"  " + unicode);

  EXPECT_TRUE(skype->SetSkypeMood(L""));
  EXPECT_EQ(chat->Mood(), L"");

  // A BSTR carries its length: a NUL inside the text is text, in both directions.
  const std::wstring withNul(L"before\0after", 12);
  ASSERT_TRUE(chat->SetMood(withNul));
  EXPECT_EQ(Read(true), withNul);
  EXPECT_TRUE(skype->SetSkypeMood(withNul + L"!"));
  EXPECT_EQ(chat->Mood(), withNul + L"!");
}

}  // namespace
