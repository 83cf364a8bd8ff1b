// The window's life as others drive it: a quit message from outside, a log-off that another
// program cancels, and the reason the program gives while a log-off waits for it.
#include <string>

#include "built_paths.h"
#include "journey_fixture.h"
#include "probe_channel.h"
#include "shutdown_block_probe.h"
#include "waiting.h"

namespace {

using chat_standin::Request;

// A tool that ends programs, or a component, posts WM_QUIT to the window's thread.
TEST_F(Journey, AQuitFromOutsideUnloadsAsExitDoes) {
  StartShowingATrack();
  const DWORD thread = ::GetWindowThreadProcessId(desk.TunemoodWindow(), nullptr);
  ASSERT_TRUE(::PostThreadMessageW(thread, WM_QUIT, 0, 0));
  EXPECT_EQ(desk.TunemoodExitCode(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_EQ(desk.Chat().LiveProfiles(), 0);
}

TEST_F(Journey, ACancelledLogOffLeavesTheProgramAsItWas) {
  StartShowingATrack();
  EndSession(kLogOff, FALSE);
  EXPECT_TRUE(::IsWindow(desk.TunemoodWindow()));
  ASSERT_TRUE(desk.ShowCaption(Caption(L"C - D")));
  EXPECT_TRUE(desk.MoodBecomes(Playing(L"C - D"))) << "still switched on, still ticking";
  EXPECT_EQ(desk.ExitByMenu(), 0);
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
}

void CALLBACK NoteReturn(HWND, UINT, ULONG_PTR returned, LRESULT) {
  *reinterpret_cast<bool*>(returned) = true;
}

// Windows tells the user what a log-off waits for: the reason stands while the log-off's restore
// waits on the chat client and is gone once WM_ENDSESSION returns. The log-off comes while the
// Exit waits on its own restore, so that the window is still there to be asked afterwards.
TEST_F(Journey, ALogOffThatWaitsOnTheChatClientSaysWhy) {
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
  ASSERT_TRUE(desk.Chat().HoldNext(Request::WriteMood, 2));  // the Exit's restore, the log-off's
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, IDM_EXIT, 0));
  ASSERT_TRUE(desk.WriteArrives(kOwn));
  AskToEndSession(kLogOff);
  bool returned = false;
  ASSERT_TRUE(::SendMessageCallbackW(window, WM_ENDSESSION, TRUE, kLogOff, &NoteReturn,
                                     reinterpret_cast<ULONG_PTR>(&returned)));
  ASSERT_TRUE(WaitUntil([&] { return Writes() == 2; })) << "the log-off's restore waits";
  const std::wstring during = reason();
  EXPECT_NE(during.find(L"Tunemood"), std::wstring::npos) << during;
  EXPECT_NE(during.find(L"mood text"), std::wstring::npos) << during;

  ASSERT_TRUE(desk.Chat().Release());
  ASSERT_TRUE(WaitUntil([&] { return returned; }));
  ASSERT_TRUE(::IsWindow(window)) << "the Exit still waits";
  EXPECT_EQ(reason(), L"");
  desk.KillTunemood();
  EXPECT_EQ(desk.Chat().Mood(), kOwn);
  EXPECT_TRUE(desk.Chat().Release());
}

}  // namespace
