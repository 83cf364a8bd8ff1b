#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/markup.h"
#include "app/state.h"
#include "journey.h"

namespace {

using chat_standin::Request;

enum class Phase { StartupCapture, Write, Restore, SwitchOff, Exit };

// The next `count` calls of a kind fail (-1: every call until the fault stops), or the chat
// client vanishes right after a lookup has found its window.
struct Fault {
  Phase phase;
  Request kind = Request::Create;
  int count = 0;
  bool vanish = false;
};

// Attempts of the restore on exit; a fault that outlasts them leaves our text behind, as the
// program is gone by the time the chat client answers again.
constexpr int kExitAttempts = 3;

// The lookup of the chat client's window just before the phase's first call into its object:
// the handler's own lookup, then one inside each mood read or write.
int LookupBeforeCall(Phase phase) {
  return phase == Phase::Write || phase == Phase::Restore ? 3 : 2;
}

class FaultMatrixTest : public ::testing::TestWithParam<Fault> {
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
  void SetUp() override {
    ASSERT_TRUE(chat->Start());
    applicationsBefore = chat->Chat().LiveApplications();
  }
  void TearDown() override {
    // Objects made before the chat client vanished are released into the next one, which
    // counts them wrong: the next case starts a fresh one.
    if (GetParam().vanish) chat->Vanish();
  }

  // Runs a phase's handlers, with the fault in place when it is this phase's; the program gets
  // `ticks` more ticks while the fault lasts. Then the fault stops: the stand-in answers again,
  // or the user starts the vanished chat client again with their own text.
  void During(Phase phase, const std::function<void()>& handlers, int ticks = 2) {
    const Fault& fault = GetParam();
    if (fault.phase != phase) return handlers();
    if (fault.vanish) {
      desktop.afterChatFound = [left = LookupBeforeCall(phase)]() mutable {
        if (--left == 0) chat->Vanish();
      };
    } else {
      ASSERT_TRUE(chat->Chat().FailNext(fault.kind, fault.count));
    }
    handlers();
    for (int i = 0; i < ticks && phase != Phase::Exit; ++i) run->Sync().tmrTimer_Timer();
    desktop.afterChatFound = nullptr;
    if (fault.vanish) {
      ASSERT_FALSE(chat->Running()) << "the fault never struck";
      ASSERT_TRUE(chat->Start());
    } else {
      ASSERT_TRUE(chat->StopFaults());
    }
  }
  void Tick() { run->Sync().tmrTimer_Timer(); }
  std::wstring Mood() const { return chat->Chat().Mood(); }

  static inline std::optional<ChatProgram> chat;
  PlayerWindow player{kPlayingCaption};
  WatchedDesktop desktop;
  std::optional<ProgramRun> run{std::in_place, desktop};
  long applicationsBefore = 0;
};

// The whole journey, whichever phase the fault strikes: start-up saves the user's text, a
// playing track is written, a stop restores, a switch-off restores, the exit restores. After
// each phase, once the fault has stopped, the next tick puts right what the fault left.
TEST_P(FaultMatrixTest, TheUserGetsTheirOwnTextBackOnceTheFaultStops) {
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
  const Fault& fault = GetParam();
  const bool outlastsExit = fault.phase == Phase::Exit && !fault.vanish &&
                            (fault.count < 0 || fault.count >= kExitAttempts) &&
                            fault.kind != Request::Create && fault.kind != Request::ReadMood;
  EXPECT_EQ(Mood(), outlastsExit ? playing : kUserMood);

  run.reset();  // the program ends: its object goes, and every profile went before
  EXPECT_EQ(chat->Chat().LiveProfiles(), 0);
  if (!fault.vanish) {
    EXPECT_EQ(chat->Chat().LiveApplications(), applicationsBefore);
  }
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

std::string CaseName(const ::testing::TestParamInfo<Fault>& info) {
  const Fault& fault = info.param;
  std::string name = PhaseName(fault.phase);
  if (fault.vanish) return name + "_ChatVanishes";
  name += std::string("_") + CallNameText(fault.kind) + "_";
  return name + (fault.count < 0 ? "Always" : std::to_string(fault.count) + "Times");
}

std::vector<Fault> AllFaults() {
  std::vector<Fault> faults;
  for (Phase phase :
       {Phase::StartupCapture, Phase::Write, Phase::Restore, Phase::SwitchOff, Phase::Exit}) {
    for (Request kind : {Request::Create, Request::Connect, Request::ReadProfile, Request::ReadMood,
                         Request::WriteMood}) {
      for (int count : {1, 2, -1}) faults.push_back({phase, kind, count, false});
    }
    faults.push_back({phase, Request::Create, 0, true});
  }
  return faults;
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrixTest, ::testing::ValuesIn(AllFaults()), CaseName);

}  // namespace
