// The whole journey: the real Tunemood beside the stand-in player and chat client, with real
// one-second ticks, checked by what the chat client receives.
#include <gtest/gtest.h>

#include "app/markup.h"
#include "built_paths.h"
#include "desk.h"
#include "waiting.h"
#include "win32/handles.h"
#include "win32/resource.h"
#include "window_search.h"

namespace {

using chat_standin::Request;
using namespace std::chrono_literals;

const std::wstring kOwn = L"Out for lunch";

std::wstring Playing(const std::wstring& track) {
  return FormatPlayingMood(track);
}
std::wstring Paused(const std::wstring& track) {
  return FormatPausedMood(FormatPlayingMood(track));
}
std::wstring Caption(const std::wstring& track, const wchar_t* state = L"") {
  return L"12. " + track + L" - Winamp" + state;
}

class Journey : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterChatStandIn()); }

  // The usual start: chat client with the user's text, Tunemood captured it, switched on.
  void StartSwitchedOn() {
    ASSERT_TRUE(desk.StartChat(kOwn));
    ASSERT_TRUE(desk.StartTunemood());
    ASSERT_TRUE(desk.WaitForRead());
    ASSERT_TRUE(desk.Command(IDM_ENABLED));
  }
  // Switched on, with a track shown.
  void StartShowingATrack() {
    ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
    StartSwitchedOn();
    ASSERT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  }
  std::size_t Writes() const { return desk.Chat().Log(L"WriteMood").size(); }
  // Asked first, then told: the session ends.
  void EndSession(LPARAM reason) {
    const HWND window = desk.TunemoodWindow();
    DWORD_PTR mayEnd = 0;
    ASSERT_TRUE(Send(window, WM_QUERYENDSESSION, 0, reason, &mayEnd));
    EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(Send(window, WM_ENDSESSION, TRUE, reason));
  }
  // The chat client keeps the next write waiting; the tick writes the next track into it.
  void HoldATicksWrite() {
    ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood));
    ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D")));
    ASSERT_TRUE(desk.WriteArrives(Playing(L"C - D")));
  }
  // Exit, and the chat client keeps its restore waiting, busy, and refuses it when it answers at
  // last: only a later write helps.
  void HoldTheExitsRestore() {
    ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood));
    ASSERT_TRUE(desk.Chat().FailNext(Request::WriteMood));
    ASSERT_TRUE(::PostMessageW(desk.TunemoodWindow(), WM_COMMAND, IDM_EXIT, 0));
    ASSERT_TRUE(desk.WriteArrives(kOwn));
  }

  Desk desk;
};

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
  Desk::WaitOneTick();
  EXPECT_EQ(Writes(), 0U) << "nothing is written while switched off";
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(kOwn));
}

TEST_F(Journey, TheUsersOwnEditsAreKeptAndPutBack) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B", L" [Stopped]")));
  StartSwitchedOn();
  // Edited while the user's own text is shown: it becomes the text to put back.
  ASSERT_TRUE(desk.Chat().SetMood(L"Gone fishing"));
  Desk::WaitOneTick();
  ASSERT_TRUE(desk.ShowCaption(Caption(L"A - B")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B")));
  // Edited while a track is shown: left alone until the track changes, never saved.
  ASSERT_TRUE(desk.Chat().SetMood(L"Typed over the track"));
  Desk::WaitOneTick();
  EXPECT_EQ(desk.Chat().Mood(), L"Typed over the track");
  ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"C - D")));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D", L" [Stopped]")));
  EXPECT_TRUE(desk.MoodBecomes(L"Gone fishing"));
}

TEST_F(Journey, AFailingWriteIsRetriedEveryTick) {
  ASSERT_TRUE(desk.StartPlayer(Caption(L"A - B")));
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.Chat().FailNext(Request::WriteMood, 2));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B"), std::chrono::milliseconds(6000)));
  const auto writes = desk.Chat().Log(L"WriteMood");
  ASSERT_EQ(writes.size(), 3U);
  EXPECT_LT(writes[0].result, 0);
  EXPECT_LT(writes[1].result, 0);
  EXPECT_EQ(writes[2].result, S_OK);
}

TEST_F(Journey, SwitchingOffPutsTheUsersTextBack) {
  StartShowingATrack();
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_EQ(desk.Chat().Mood(), kOwn) << "put back at once, not at the next tick";
  Desk::WaitOneTick();
  EXPECT_EQ(desk.Chat().Mood(), kOwn) << "and nothing more is written while off";

  // Switched off with nothing of ours shown: the user's text is written once all the same.
  ASSERT_TRUE(desk.ClosePlayer());
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  const std::size_t before = Writes();
  ASSERT_TRUE(desk.Command(IDM_ENABLED));
  EXPECT_EQ(Writes(), before + 1);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

TEST_F(Journey, TheChatClientClosingWithOurLinkDoesNotLeaveItStanding) {
  StartShowingATrack();
  // The chat client closes and comes back still showing our link, as a real one keeps it.
  ASSERT_TRUE(desk.CloseChat());
  Desk::WaitOneTick();
  ASSERT_TRUE(desk.StartChat(Playing(L"A - B")));
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.ShowCaption(Caption(L"A - B", L" [Stopped]")));
  // The restore after our next write clears the stale link instead of keeping it for good.
  ASSERT_TRUE(desk.ShowCaption(Caption(L"E - F")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"E - F")));
  ASSERT_TRUE(desk.ClosePlayer());
  EXPECT_TRUE(desk.MoodBecomes(L""));
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
// returns. By then the user's own text is back, whatever the program was waiting on.
enum class LogOffMoment { Idle, DuringATicksWrite, DuringTheExitsRestore };

class LogOffJourney : public Journey, public ::testing::WithParamInterface<LogOffMoment> {};

TEST_P(LogOffJourney, TheUsersTextIsBackWhenTheProgramIsEnded) {
  StartShowingATrack();
  ASSERT_TRUE(desk.Chat().ClearLog());
  switch (GetParam()) {
    case LogOffMoment::Idle:
      break;
    case LogOffMoment::DuringATicksWrite:
      HoldATicksWrite();
      break;
    case LogOffMoment::DuringTheExitsRestore:
      HoldTheExitsRestore();
      break;
  }
  // The flag has the top bit set; LPARAM carries it as it is.
  EndSession(static_cast<LPARAM>(static_cast<LONG>(ENDSESSION_LOGOFF)));
  desk.KillTunemood();
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_TRUE(desk.Chat().Release());
}

INSTANTIATE_TEST_SUITE_P(Moments, LogOffJourney,
                         ::testing::Values(LogOffMoment::Idle, LogOffMoment::DuringATicksWrite,
                                           LogOffMoment::DuringTheExitsRestore),
                         [](const auto& moment) -> std::string {
                           switch (moment.param) {
                             case LogOffMoment::Idle:
                               return "Idle";
                             case LogOffMoment::DuringATicksWrite:
                               return "DuringATicksWrite";
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

// A chat client's component whose wait loop takes WM_QUIT and does not post it again: a close
// while it waits still ends the program, once the call has returned. The call waits for a tick,
// or for a switch-off sent to the window as a message.
class SwallowedQuitJourney : public Journey, public ::testing::WithParamInterface<bool> {};

TEST_P(SwallowedQuitJourney, AClosedProgramEndsWhenTheCallReturns) {
  const bool duringSentSwitchOff = GetParam();
  StartShowingATrack();
  ASSERT_TRUE(desk.Chat().SwallowQuit(true));
  ASSERT_TRUE(desk.Chat().ClearLog());
  const HWND window = desk.TunemoodWindow();
  if (duringSentSwitchOff) {
    ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood));
    ASSERT_TRUE(::SendNotifyMessageW(window, WM_COMMAND, IDM_ENABLED, 0));
    ASSERT_TRUE(desk.WriteArrives(kOwn));
  } else {
    HoldATicksWrite();
  }
  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(window); }, 5s)) << "closed inside the wait";
  ASSERT_TRUE(desk.Chat().Release());
  EXPECT_EQ(desk.TunemoodExitCode(3s), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

INSTANTIATE_TEST_SUITE_P(Calls, SwallowedQuitJourney, ::testing::Bool(),
                         [](const auto& sent) -> std::string {
                           return sent.param ? "DuringASentSwitchOff" : "DuringATick";
                         });

TEST_F(Journey, ASecondCopyEndsAtOnceWithoutAWindowOrTouchingTheChatClient) {
  ASSERT_TRUE(desk.StartChat(kOwn));
  ASSERT_TRUE(desk.StartTunemood());
  ASSERT_TRUE(desk.WaitForRead());
  ASSERT_TRUE(desk.Chat().ClearLog());
  DWORD first = 0;
  ::GetWindowThreadProcessId(desk.TunemoodWindow(), &first);
  ChildProcess second(TunemoodPath(), L"");
  EXPECT_EQ(second.WaitForExit(10s), 0);
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
  EXPECT_EQ(copy.WaitForExit(10s), 0);
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
