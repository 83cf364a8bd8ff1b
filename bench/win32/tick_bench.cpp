// The Windows side of scripts/bench: measures one thing per run and prints it as name=value
// lines for the script's table.
//
//   tick_bench ratio TICKS ROUNDS   the tick with its report against the baseline of its calls
//   tick_bench soak TICKS           the real program over a long day, its counters read
//   tick_bench start RUNS           start to window shown, Tunemood and a minimal window program
//   tick_bench idle SECONDS         what wakes Tunemood's thread while nothing changes
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "built_paths.h"
#include "desk.h"
#include "footprint.h"
#include "soak.h"
#include "tick_ratio.h"

namespace {

void Print(const char* name, double value) {
  std::printf("%s=%.6g\n", name, value);
}

int Ratio(long ticks, int rounds) {
  Desk desk;
  if (!RegisterChatStandIn() || !desk.StartChat(L"Out for lunch") ||
      !desk.StartPlayer(L"12. Artist - Title - Winamp")) {
    std::puts("error=the stand-ins did not start");
    return 1;
  }
  const std::optional<TickTimes> times = MeasureTickRatio(ticks, rounds);
  if (!times) {
    std::puts("error=the tick could not be set up");
    return 1;
  }
  Print("ticks", static_cast<double>(times->ticks));
  Print("rounds", rounds);
  Print("program_us", times->programSeconds * 1e6 / static_cast<double>(times->ticks));
  Print("baseline_us", times->baselineSeconds * 1e6 / static_cast<double>(times->ticks));
  Print("ratio_total", times->programSeconds / times->baselineSeconds);
  Print("ratio_median", times->medianRatio);
  Print("writes_while_timed", static_cast<double>(times->writesWhileTimed));
  return 0;
}

void PrintCounters(const char* stage, const ProcessCounters& counters) {
  std::printf("%s_private_bytes=%zu\n%s_handles=%lu\n%s_gdi=%lu\n%s_user=%lu\n", stage,
              static_cast<std::size_t>(counters.privateBytes), stage, counters.handles, stage,
              counters.gdiObjects, stage, counters.userObjects);
}

int Soak(long ticks) {
  std::wstring failure;
  const std::optional<SoakReport> report =
      RunSoak({.ticks = ticks, .warmup = ticks / 10, .chatEvery = ticks / 20}, failure);
  if (!report) {
    std::printf("error=%ls\n", failure.c_str());
    return 1;
  }
  Print("ticks", static_cast<double>(report->ticks));
  Print("seconds", report->seconds);
  PrintCounters("start", report->start);
  PrintCounters("warm", report->warm);
  PrintCounters("end", report->end);
  Print("writes", static_cast<double>(report->writes));
  Print("chat_restarts", static_cast<double>(report->chatRestarts));
  Print("applications_created", static_cast<double>(report->applicationsCreated));
  Print("most_live_profiles", static_cast<double>(report->mostLiveProfiles));
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Start(int runs) {
  std::vector<double> program;
  std::vector<double> floor;
  for (int run = 0; run < runs; ++run) {
    const std::optional<double> ours = StartToWindow(TunemoodPath(), L"", L"TunemoodMain");
    const std::optional<double> minimal =
        StartToWindow(StandinPlayerPath(), L"\"1. A - B - Winamp\"", L"Winamp v1.x");
    if (!ours || !minimal) {
      std::puts("error=a program did not show its window");
      return 1;
    }
    program.push_back(*ours);
    floor.push_back(*minimal);
  }
  Print("runs", runs);
  Print("program_ms", Median(program));
  Print("floor_ms", Median(floor));
  return 0;
}

int Idle(double seconds) {
  const std::optional<Wakeups> wakeups = IdleWakeups(TunemoodPath(), WakeupProbePath(), seconds);
  if (!wakeups) {
    std::puts("error=the probe found no answer in the program");
    return 1;
  }
  Print("seconds", seconds);
  Print("wakeups_per_second", wakeups->perSecond);
  Print("timers_per_second", wakeups->timersPerSecond);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::puts("usage: tick_bench ratio TICKS ROUNDS | soak TICKS | start RUNS | idle SECONDS");
    return 2;
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const std::wstring mode = argv[1];
  const long count = std::wcstol(argv[2], nullptr, 10);
  int result = 2;
  if (mode == L"ratio") result = Ratio(count, argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 10);
  if (mode == L"soak") result = Soak(count);
  if (mode == L"start") result = Start(static_cast<int>(count));
  if (mode == L"idle") result = Idle(static_cast<double>(count));
  std::fflush(stdout);
  ::CoUninitialize();
  return result;
}
