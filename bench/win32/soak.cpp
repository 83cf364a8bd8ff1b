#include "soak.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>

#include "desk.h"
#include "win32/handles.h"
#include "win32/resource.h"
#include "window_search.h"

namespace {

// The window's one timer; sending its message runs one tick without waiting a second.
constexpr WPARAM kTickTimerId = 1;
constexpr wchar_t kOwnMood[] = L"Out for lunch";

std::wstring Caption(long tick) {
  const long track = tick / 16 % 25;
  const std::wstring shown = L"7. Artist " + std::to_wstring(track) + L" - Title - Winamp";
  switch (tick % 16) {
    case 6:
      return shown + L" [Paused]";
    case 11:
      return shown + L" [Stopped]";
    default:
      return shown;
  }
}

// The stand-in's log is read and emptied now and then, so that it stays short.
class ChatTally {
 public:
  ChatTally(SoakReport& report, HWND program) : mReport(report), mProgram(program) {}

  void Collect(const Desk& desk) {
    if (!desk.ChatRunning()) return;
    const chat_standin::ChatStandIn& chat = desk.Chat();
    for (const chat_standin::Call& call : chat.Log()) {
      if (call.name == L"Create") ++mReport.applicationsCreated;
      if (call.name == L"WriteMood") ++mReport.writes;
    }
    chat.ClearLog();
    mReport.mostLiveProfiles = std::max(mReport.mostLiveProfiles, SettledLiveProfiles(chat));
  }

 private:
  // The program's own timer still ticks once a second and may be inside a call just now: a
  // profile counts as left alive only when it stays alive while the program waits between
  // messages.
  long SettledLiveProfiles(const chat_standin::ChatStandIn& chat) const {
    long fewest = chat.LiveProfiles();
    for (int look = 0; look < 3 && fewest > 0; ++look) {
      ::Sleep(20);
      Send(mProgram, WM_NULL, 0, 0);
      fewest = std::min(fewest, chat.LiveProfiles());
    }
    return fewest;
  }

  SoakReport& mReport;
  HWND mProgram;
};

}  // namespace

std::optional<ProcessCounters> ReadCounters(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  ProcessCounters counters;
  if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory) ||
      !::GetProcessHandleCount(process, &counters.handles)) {
    return std::nullopt;
  }
  // The commit charge: what Windows shows as private bytes. Wine 8 leaves PrivateUsage 0.
  counters.privateBytes = memory.PagefileUsage;
  counters.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
  counters.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
  return counters;
}

std::optional<SoakReport> RunSoak(const SoakPlan& plan, std::wstring& failure) {
  Desk desk;
  if (!RegisterChatStandIn() || !desk.StartChat(kOwnMood) || !desk.StartPlayer(Caption(0)) ||
      !desk.StartTunemood() || !desk.Command(IDM_ENABLED)) {
    failure = L"the stand-ins or the program did not start";
    return std::nullopt;
  }
  const HWND window = desk.TunemoodWindow();
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  const UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));

  SoakReport report;
  ChatTally tally(report, window);
  auto tick = [&] { return Send(window, WM_TIMER, kTickTimerId, 0); };
  auto read = [&](ProcessCounters& into) {
    const std::optional<ProcessCounters> counters = ReadCounters(process.get());
    if (counters) into = *counters;
    return counters.has_value();
  };
  if (!tick() || !read(report.start)) {
    failure = L"the program's first tick or its counters could not be read";
    return std::nullopt;
  }

  const auto started = std::chrono::steady_clock::now();
  for (long t = 1; t <= plan.ticks; ++t) {
    desk.ShowCaption(Caption(t));
    if (!tick()) {
      failure = L"tick " + std::to_wstring(t) + L" did not end";
      return std::nullopt;
    }
    if (t % 256 == 0) tally.Collect(desk);
    if (t == plan.warmup && !read(report.warm)) {
      failure = L"the counters could not be read after the warm-up";
      return std::nullopt;
    }
    if (t % plan.chatEvery == 0 && t < plan.ticks) {
      tally.Collect(desk);
      // A few ticks without the chat client, then it is back with the user's own mood.
      if (!desk.CloseChat() || !tick() || !tick() || !desk.StartChat(kOwnMood)) {
        failure = L"the chat client did not close and start again";
        return std::nullopt;
      }
      ++report.chatRestarts;
    }
  }
  report.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  report.ticks = plan.ticks;
  tally.Collect(desk);
  if (!read(report.end)) {
    failure = L"the counters could not be read at the end";
    return std::nullopt;
  }
  desk.ExitByMenu();
  return report;
}
