#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "app/markup.h"
#include "app/state.h"
#include "journey.h"

namespace {

enum class Phase { StartupCapture, Write, Restore, SwitchOff, Exit };

// The lookup of the chat client's window just before the phase's first call into its object:
// the handler's own lookup, then one inside each mood read or write.
int LookupBeforeCall(Phase phase) {
  return phase == Phase::Write || phase == Phase::Restore ? 3 : 2;
}

// The chat client vanishes right after a lookup has found its window, whichever phase of the
// journey it strikes: what a failing call answers is the adapter's (tests/win32/chat) and what
// the program makes of it the unit tests' and the explorer's; what a gone server does to the real
// component's calls only Windows shows.
class FaultMatrixTest : public ::testing::TestWithParam<Phase> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(RegisterChatStandIn());
    chat.emplace();
  }
  static void TearDownTestSuite() {
    chat.reset();
    ::CoUninitialize();
  }
  void SetUp() override { ASSERT_TRUE(chat->Start()); }
  // Objects made before the chat client vanished are released into the next one, which counts
  // them wrong: the next case starts a fresh one.
  void TearDown() override { chat->Vanish(); }

  // Runs a phase's handlers, with the chat client vanishing when it is this phase's; the program
  // gets `ticks` more ticks while it is gone. Then the user starts it again with their own text.
  void During(Phase phase, const std::function<void()>& handlers, int ticks = 2) {
    if (GetParam() != phase) return handlers();
    desktop.afterChatFound = [left = LookupBeforeCall(phase)]() mutable {
      if (--left == 0) chat->Vanish();
    };
    handlers();
    for (int i = 0; i < ticks && phase != Phase::Exit; ++i) run->Sync().tmrTimer_Timer();
    desktop.afterChatFound = nullptr;
    ASSERT_FALSE(chat->Running()) << "the chat client never vanished";
    ASSERT_TRUE(chat->Start());
  }
  void Tick() { run->Sync().tmrTimer_Timer(); }
  std::wstring Mood() const { return chat->Chat().Mood(); }

  static inline std::optional<ChatProgram> chat;
  PlayerWindow player{kPlayingCaption};
  WatchedDesktop desktop;
  std::optional<ProgramRun> run{std::in_place, desktop};
};

// The whole journey: start-up saves the user's text, a playing track is written, a stop restores,
// a switch-off restores, the exit restores. After each phase, once the chat client is back, the
// next tick puts right what its absence left.
TEST_P(FaultMatrixTest, TheUserGetsTheirOwnTextBackOnceTheChatClientIsBack) {
  const std::wstring playing = FormatPlayingMood(kTrack);
  player.Show(kPlayingCaption);

  During(Phase::StartupCapture, [&] { run->Start(); });
  ASSERT_TRUE(run->Sync().CurrentMood().empty());
  Tick();  // reads the mood again; synchronisation is still off
  EXPECT_TRUE(gInitialMoodKnown);
  EXPECT_EQ(gInitialMood, kUserMood);
  EXPECT_EQ(Mood(), kUserMood);

  run->Sync().mnuEnabled_Click();
  During(Phase::Write, [&] { Tick(); });
  Tick();
  EXPECT_EQ(Mood(), playing);
  EXPECT_EQ(gInitialMood, kUserMood);

  player.Show(kStoppedCaption);
  During(Phase::Restore, [&] { Tick(); });
  Tick();
  EXPECT_EQ(Mood(), kUserMood);

  player.Show(kPlayingCaption);
  Tick();
  ASSERT_EQ(Mood(), playing);
  During(Phase::SwitchOff, [&] { run->Sync().mnuEnabled_Click(); });
  Tick();
  EXPECT_FALSE(gEnabled);
  EXPECT_EQ(Mood(), kUserMood);

  run->Sync().mnuEnabled_Click();
  Tick();
  ASSERT_EQ(Mood(), playing);
  During(Phase::Exit, [&] { run->Sync().Form_Unload(); });
  EXPECT_EQ(Mood(), kUserMood);

  run.reset();  // the program ends: its object goes, and every profile went before
  EXPECT_EQ(chat->Chat().LiveProfiles(), 0);
}

const char* PhaseName(Phase phase) {
  switch (phase) {
    case Phase::StartupCapture:
      return "StartupCapture";
    case Phase::Write:
      return "Write";
    case Phase::Restore:
      return "Restore";
    case Phase::SwitchOff:
      return "SwitchOff";
    default:
      return "Exit";
  }
}

std::string CaseName(const ::testing::TestParamInfo<Phase>& info) {
  return std::string(PhaseName(info.param)) + "_ChatVanishes";
}

INSTANTIATE_TEST_SUITE_P(Phases, FaultMatrixTest,
                         ::testing::Values(Phase::StartupCapture, Phase::Write, Phase::Restore,
                                           Phase::SwitchOff, Phase::Exit),
                         CaseName);

}  // namespace
