// The whole journey: the real Tunemood beside the stand-in player and chat client, with real
// one-second ticks, checked by what the chat client receives.
#include "built_paths.h"
#include "journey_fixture.h"
#include "waiting.h"
#include "win32/handles.h"

namespace {

using chat_standin::HeldEffect;
using chat_standin::Request;

TEST_F(Journey, PlayPauseResumeNextStopAndClose) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"Artist - First")));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - First", L" [Paused]")));
  EXPECT_TRUE(desk.MoodBecomes(Paused(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - First")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - First")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Second")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - Second")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Second", L" [Stopped]")));
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"Artist - Third")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"Artist - Third")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
  // One write per change, none for unchanged ticks.
  EXPECT_EQ(Writes(), 7U);
}

TEST_F(Journey, StartsBeforeTheChatClientAndCapturesItsTextWhenItComes) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.WholeTickPasses());
  EXPECT_EQ(Writes(), 0U) << "nothing is written while switched off";
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
}

// Every way out ends the program cleanly, with the user's own text back and no profile object
// left alive.
enum class WayOut { MenuExit, CloseButton, ShutDown };

class WayOutJourney : public Journey, public ::testing::WithParamInterface<WayOut> {};

TEST_P(WayOutJourney, EndsCleanlyAndPutsTheUsersTextBack) {
  StartShowingATrack();
  const HWND window = desk.TunemoodWindow();
  switch (GetParam()) {
    case WayOut::MenuExit:
      ::PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
      break;
    case WayOut::CloseButton:
      ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case WayOut::ShutDown:
      EndSession(0);
      EXPECT_FALSE(::IsWindow(window));
      break;
  }
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_EQ(desk.Chat().LiveProfiles(), 0);
}

std::string WayOutName(const ::testing::TestParamInfo<WayOut>& way) {
  switch (way.param) {
    case WayOut::MenuExit:
      return "MenuExit";
    case WayOut::CloseButton:
      return "CloseButton";
    default:
      return "ShutDown";
  }
}

INSTANTIATE_TEST_SUITE_P(WaysOut, WayOutJourney,
                         ::testing::Values(WayOut::MenuExit, WayOut::CloseButton, WayOut::ShutDown),
                         WayOutName);

// A log-off as Windows does it: the program is asked, told, and ended the moment the telling
// returns. The user's own text is back when the asking returns, whatever the program was waiting
// on, also in a component whose wait gives up its call on WM_QUIT, and still when the program is
// ended. Ended then, the program cannot outlast a write the chat client has yet to make: the
// tick's write has been made, only its answer waits.
enum class LogOffMoment { DuringATicksWrite, DuringATicksWriteThatQuitEnds, DuringTheExitsRestore };

class LogOffJourney : public Journey, public ::testing::WithParamInterface<LogOffMoment> {};

TEST_P(LogOffJourney, TheUsersTextIsBackWhenTheQueryReturnsAndWhenTheProgramIsEnded) {
  StartShowingATrack();
  ASSERT_TRUE(desk.Chat().ClearLog());
  switch (GetParam()) {
    case LogOffMoment::DuringATicksWriteThatQuitEnds:
      ASSERT_TRUE(desk.Chat().AbandonOnQuit(true));
      [[fallthrough]];
    case LogOffMoment::DuringATicksWrite:
      HoldATicksWrite();
      break;
    case LogOffMoment::DuringTheExitsRestore:
      HoldTheExitsRestore();
      break;
  }
  AskToEndSession(kLogOff);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  ASSERT_TRUE(Send(desk.TunemoodWindow(), WM_ENDSESSION, TRUE, kLogOff));
  desk.KillTunemood();
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_TRUE(desk.Chat().Release());
}

INSTANTIATE_TEST_SUITE_P(Moments, LogOffJourney,
                         ::testing::Values(LogOffMoment::DuringATicksWrite,
                                           LogOffMoment::DuringATicksWriteThatQuitEnds,
                                           LogOffMoment::DuringTheExitsRestore),
                         [](const auto& moment) -> std::string {
                           switch (moment.param) {
                             case LogOffMoment::DuringATicksWrite:
                               return "DuringATicksWrite";
                             case LogOffMoment::DuringATicksWriteThatQuitEnds:
                               return "DuringATicksWriteThatQuitEnds";
                             default:
                               return "DuringTheExitsRestore";
                           }
                         });

// A close while the Exit waits on the chat client puts the user's text back as well; the window
// stays until the Exit is done with it.
TEST_F(Journey, ACloseDuringTheExitsWaitingRestoreLeavesTheWindowToTheExit) {
  StartShowingATrack();
  ASSERT_TRUE(desk.Chat().ClearLog());
  HoldTheExitsRestore();
  const HWND window = desk.TunemoodWindow();
  ASSERT_TRUE(Send(window, WM_CLOSE, 0, 0));
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_TRUE(::IsWindow(window));
  ASSERT_TRUE(desk.Chat().Release());
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
}

// A close while a component's wait loop runs the program's messages, once for each kind of loop:
// one that swallows WM_QUIT never passes it on, here while a tick waits; one that leaves on it,
// as modal loops commonly do, gives up the call and every later one while the quit stays queued,
// though the chat client carries them out late, here while a switch-off sent to the window as a
// message waits. Either way the program ends once the call has returned, with the user's text
// last, also when the chat client gets to the tick's write only after the close has put the
// user's text back. Every other order of the handlers and the close is the explorer's.
enum class QuitInTheWait { Swallowed, EndsTheWait };

class QuitInTheWaitJourney : public Journey,
                             public ::testing::WithParamInterface<std::tuple<QuitInTheWait, bool>> {
};

TEST_P(QuitInTheWaitJourney, AClosedProgramEndsWhenTheCallReturns) {
  const auto [quit, duringSentSwitchOff] = GetParam();
  StartShowingATrack();
  ASSERT_TRUE(quit == QuitInTheWait::Swallowed ? desk.Chat().SwallowQuit(true)
                                               : desk.Chat().AbandonOnQuit(true));
  ASSERT_TRUE(desk.Chat().ClearLog());
  const HWND window = desk.TunemoodWindow();
  if (duringSentSwitchOff) {
    ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood));
    ASSERT_TRUE(::SendNotifyMessageW(window, WM_COMMAND, IDM_ENABLED, 0));
    ASSERT_TRUE(desk.WriteArrives(kOwn));
  } else {
    HoldATicksWrite(HeldEffect::AtRelease);
  }
  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(window); })) << "closed inside the wait";
  ASSERT_TRUE(desk.Chat().Release());
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

std::string QuitInTheWaitName(
    const ::testing::TestParamInfo<std::tuple<QuitInTheWait, bool>>& info) {
  const auto [quit, duringSentSwitchOff] = info.param;
  return std::string(quit == QuitInTheWait::Swallowed ? "Swallowed" : "EndsTheWait") +
         (duringSentSwitchOff ? "DuringASentSwitchOff" : "DuringATick");
}

INSTANTIATE_TEST_SUITE_P(Calls, QuitInTheWaitJourney,
                         ::testing::Values(std::make_tuple(QuitInTheWait::Swallowed, false),
                                           std::make_tuple(QuitInTheWait::EndsTheWait, true)),
                         QuitInTheWaitName);

TEST_F(Journey, ASecondCopyEndsAtOnceWithoutAWindowOrTouchingTheChatClient) {
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.Chat().ClearLog());
  DWORD first = 0;
  ::GetWindowThreadProcessId(desk.TunemoodWindow(), &first);
  ChildProcess second(TunemoodPath(), L"");
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_EQ(::FindWindowExW(nullptr, desk.TunemoodWindow(), L"TunemoodMain", nullptr), nullptr);
  for (const auto& call : desk.Chat().Log()) EXPECT_EQ(call.process, first);
}

// A copy under another account holds the name, with a security that lets no one else open it:
// a second copy is denied the name, which means all the same that a copy runs.
TEST_F(Journey, ACopyDeniedTheNameEndsAtOnceWithoutTouchingTheChatClient) {
  ASSERT_TRUE(desk.StartChat(kOwn));
  ACL grantsNothing{};
  ASSERT_TRUE(::InitializeAcl(&grantsNothing, sizeof grantsNothing, ACL_REVISION));
  SECURITY_DESCRIPTOR security{};
  ASSERT_TRUE(::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&security, TRUE, &grantsNothing, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &security, FALSE};
  constexpr wchar_t kName[] = L"Local\\Tunemood.SingleInstance";
  const UniqueKernelHandle held(::CreateMutexW(&attributes, FALSE, kName));
  ASSERT_TRUE(held);
  const UniqueKernelHandle denied(::CreateMutexW(nullptr, FALSE, kName));
  ASSERT_FALSE(denied);
  ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  ChildProcess copy(TunemoodPath(), L"");
  EXPECT_EQ(copy.WaitForExit(), 0);
  EXPECT_TRUE(desk.Chat().Log().empty());
}

// The caption's rules are the unit tests' and its reading through a real window the Wine
// tests'; here a title outside the code page and with markup characters goes the whole way,
// from the player's caption to the chat client, whole and escaped.
TEST_F(Journey, ATitleOutsideTheCodePageWithMarkupArrivesWholeAndEscaped) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"坂本龍一 - <Tom & Jerry>")));
  StartSwitchedOn();
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"坂本龍一 - <Tom & Jerry>")));
  EXPECT_NE(desk.Chat().Mood().find(L"坂本龍一 - &lt;Tom &amp; Jerry&gt;"), std::wstring::npos);
}

}  // namespace
