#include "tick_ratio.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/live_outside.h"
#include "app/state.h"
#include "app/synchroniser.h"
#include "baseline_tick.h"
#include "chat_standin.h"
#include "fake_platform/fake_form.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"
#include "win32/registry.h"

namespace {

double Now() {
  LARGE_INTEGER counter;
  LARGE_INTEGER frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Tick>
double Time(long ticks, Tick tick) {
  const double start = Now();
  for (long i = 0; i < ticks; ++i) tick();
  return Now() - start;
}

}  // namespace

std::optional<TickTimes> MeasureTickRatio(long ticks, int rounds) {
  const HWND chatWindow = ::FindWindowW(L"tSkMainForm", nullptr);
  if (chatWindow == nullptr) return std::nullopt;
  const chat_standin::ChatStandIn chat(chatWindow);

  Win32Desktop desktop;
  Win32Registry registry;
  ComAutomation automation;
  LiveOutside outside(desktop, registry, automation);
  FakeForm form(outside);
  Synchroniser sync(outside, form);
  gEnabled = true;
  // The first ticks create the object, save the user's mood and show the track.
  sync.tmrTimer_Timer();
  sync.tmrTimer_Timer();
  BaselineTick baseline;
  if (sync.CurrentMood().empty() || !baseline.Ready()) return std::nullopt;

  TickTimes times;
  std::vector<double> ratios;
  const long perRound = ticks / rounds;
  auto program = [&] {
    chat.ClearLog();
    const double seconds = Time(perRound, [&] { sync.tmrTimer_Timer(); });
    times.writesWhileTimed += static_cast<long>(chat.Log(L"WriteMood").size());
    times.programSeconds += seconds;
    return seconds;
  };
  auto floor = [&] {
    chat.ClearLog();
    const double seconds = Time(perRound, [&] { baseline.Run(); });
    times.baselineSeconds += seconds;
    return seconds;
  };
  for (int round = 0; round < rounds; ++round) {
    const double first = round % 2 == 0 ? program() : floor();
    const double second = round % 2 == 0 ? floor() : program();
    ratios.push_back(round % 2 == 0 ? first / second : second / first);
    times.ticks += perRound;
  }
  gEnabled = false;
  std::sort(ratios.begin(), ratios.end());
  times.medianRatio = ratios[ratios.size() / 2];
  return times;
}
