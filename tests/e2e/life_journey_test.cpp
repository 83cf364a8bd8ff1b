// The window's life as others drive it: a quit message from outside, and the end of the session:
// the query, the reason the program gives while it waits, a cancellation, a chat client that ends
// first.
#include <string>

#include "built_paths.h"
#include "journey_fixture.h"
#include "probe_channel.h"
#include "shutdown_block_probe.h"
#include "waiting.h"

namespace {

using chat_standin::Request;
using namespace std::chrono_literals;

// A tool that ends programs, or a component, posts WM_QUIT to the window's thread.
TEST_F(Journey, AQuitFromOutsideUnloadsAsExitDoes) {
  StartShowingATrack();
  const DWORD thread = ::GetWindowThreadProcessId(desk.TunemoodWindow(), nullptr);
  ASSERT_TRUE(::PostThreadMessageW(thread, WM_QUIT, 0, 0));
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_EQ(desk.Chat().LiveProfiles(), 0);
}

// The answer to a message sent with SendMessageCallbackW, once it has come.
void CALLBACK NoteAnswer(HWND, UINT, ULONG_PTR answer, LRESULT result) {
  *reinterpret_cast<LRESULT*>(answer) = result;
}

// The chat client may end the moment the query returns: the user's text is back by then, and
// while the put-back waits on a busy chat client, Windows can tell the user why. Cancelled, the
// session goes on and the track comes back.
TEST_F(Journey, TheQueryReturnsWithTheUsersTextBackAndACancellationShowsTheTrackAgain) {
  StartShowingATrack();
  const HWND window = desk.TunemoodWindow();
  ProbeChannel probe(ShutdownBlockProbePath(), kShutdownBlockProbeHook, window,
                     ProbeChannel::Delivery::Sent);
  ASSERT_TRUE(probe.Installed());
  const auto reason = [&] {
    return probe.AskText(kShutdownBlockProbeMessage).value_or(L"(no answer)");
  };
  EXPECT_EQ(reason(), L"");

  ASSERT_TRUE(desk.Chat().ClearLog());
  ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood));
  LRESULT answer = -1;
  ASSERT_TRUE(::SendMessageCallbackW(window, WM_QUERYENDSESSION, 0, kLogOff, &NoteAnswer,
                                     reinterpret_cast<ULONG_PTR>(&answer)));
  ASSERT_TRUE(desk.WriteArrives(kOwn)) << "the query's put-back";
  const std::wstring during = reason();
  EXPECT_NE(during.find(L"Tunemood"), std::wstring::npos) << during;
  EXPECT_NE(during.find(L"mood text"), std::wstring::npos) << during;
  EXPECT_EQ(answer, -1) << "the query waits for its put-back";

  ASSERT_TRUE(desk.Chat().Release());
  ASSERT_TRUE(WaitUntil([&] { return answer != -1; }));
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_EQ(reason(), L"");

  ASSERT_TRUE(Send(window, WM_ENDSESSION, FALSE, kLogOff));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"A - B"))) << "the same track, written again";
}

// A chat client that quits at its own end of the session, told before this program is: what it
// shows as it goes stays the user's public text.
TEST_F(Journey, AChatClientThatQuitsRightAfterTheQueryLeavesTheUsersText) {
  StartShowingATrack();
  AskToEndSession(kLogOff);
  ASSERT_TRUE(desk.Chat().ClearLog());
  // Two ticks read after the query: the first one has written all it was going to.
  ASSERT_TRUE(WaitUntil([&] { return desk.Chat().Log(L"ReadMood").size() >= 2; }));
  for (const auto& write : desk.Chat().Log(L"WriteMood")) {
    EXPECT_EQ(write.text, kOwn) << "nothing of ours until the end";
  }
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  ASSERT_TRUE(desk.CloseChat());
  ASSERT_TRUE(Send(desk.TunemoodWindow(), WM_ENDSESSION, TRUE, kLogOff));
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
}

}  // namespace
