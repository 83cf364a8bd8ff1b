// The debug report against any answers the player and the chat client can give: always 25
// lines, the same two headings in bold, and every text shown as it was read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/state.h"
#include "fake_platform/fake_world.h"
#include "fuzz_support.h"
#include "player/winamp.h"
#include "ui/debug_report.h"

namespace {

std::wstring Text(FuzzedDataProvider& input) {
  const std::string bytes = input.ConsumeRandomLengthString(64);
  return WideText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The windows and the policy values as the fuzz input has them now.
void Rearrange(FakeWorld& world, FuzzedDataProvider& input) {
  world.OpenChat(input.ConsumeIntegral<WindowHandle>());
  world.desktop.ShowPlayer(input.ConsumeIntegral<WindowHandle>(), Text(input));
  for (const Hive hive : {Hive::LocalMachine, Hive::CurrentUser}) {
    world.registry.policy[hive] =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 5));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FakeWorld world;
  gEnabled = input.ConsumeBool();
  gInitialMood = Text(input);
  // Every call finds the world rearranged, so two calls may disagree, as they may for real; the
  // texts are noted as the calls that read them find them.
  WindowHandle player = 0;
  std::wstring shownCaption;
  std::wstring shownTrack;
  world.outside.afterCall = [&](const std::wstring& call) {
    Rearrange(world, input);
    if (call == L"FindWinampWindow") player = FindWinampWindow(world.desktop);
    if (call == L"GetWindowCaption") shownCaption = GetWindowCaption(world.desktop, player);
    if (call == L"GetWinampCurrentTrack") shownTrack = GetWinampCurrentTrack(world.desktop);
  };

  const std::vector<ReportLine> report = BuildDebugInformation(world.outside);
  Check(report.size() == 25, "the report has 25 lines");
  for (std::size_t i = 0; i < report.size(); ++i) {
    Check(report[i].bold == (i == 2 || i == 12), "only the two headings are bold");
  }
  Check(report[8].text == gInitialMood, "the saved mood is shown as it is");
  Check(report[18].text == shownCaption, "the caption is shown as it was read");
  Check(report[24].text == shownTrack, "the track is shown as it was read");
  return 0;
}
