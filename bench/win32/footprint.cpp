#include "footprint.h"

#include <windows.h>

#include <chrono>

#include "child_process.h"
#include "program_hook.h"
#include "wakeup_probe.h"
#include "win32/handles.h"
#include "window_search.h"

using namespace std::chrono_literals;

namespace {

void Close(ChildProcess& child, HWND window) {
  Send(window, WM_CLOSE, 0, 0);
  child.WaitForExit();
}

struct Counts {
  WPARAM taken = 0;
  LPARAM timers = 0;
};

std::optional<Counts> Ask(HWND program, HWND reply) {
  const UINT question = ::RegisterWindowMessageW(kWakeupProbeQuestion);
  // The hook loads into the program with a message it takes: ask again until it answers.
  for (int attempt = 0; attempt < 20; ++attempt) {
    ::PostMessageW(program, question, reinterpret_cast<WPARAM>(reply), 0);
    const auto deadline = std::chrono::steady_clock::now() + 250ms;
    MSG message;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::PeekMessageW(&message, reply, kWakeupProbeReply, kWakeupProbeReply, PM_REMOVE)) {
        return Counts{message.wParam, message.lParam};
      }
      ::Sleep(5);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> StartToWindow(const std::wstring& program, const std::wstring& arguments,
                                    const wchar_t* windowClass) {
  const auto started = std::chrono::steady_clock::now();
  ChildProcess child(program, arguments);
  if (!child.Running()) return std::nullopt;
  HWND window = nullptr;
  while (window == nullptr) {
    if (std::chrono::steady_clock::now() - started > 10s) return std::nullopt;
    // Polled more often than the harness does: the wait is what is measured.
    window = FindShownWindow(child.Id(), windowClass);
    if (window == nullptr) ::Sleep(1);
  }
  const double milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  Close(child, window);
  return milliseconds;
}

std::optional<Wakeups> IdleWakeups(const std::wstring& tunemood, const std::wstring& probeDll,
                                   double seconds) {
  ChildProcess child(tunemood, L"");
  const HWND window = WaitForShownWindow(child.Id(), L"TunemoodMain");
  if (window == nullptr) return std::nullopt;
  const UniqueWindow reply(
      ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  const ProgramHook probe(probeDll, kWakeupProbeHook, window);
  if (!probe.Installed()) return std::nullopt;

  const std::optional<Counts> before = Ask(window, reply.get());
  ::Sleep(static_cast<DWORD>(seconds * 1000));
  const std::optional<Counts> after = Ask(window, reply.get());
  Close(child, window);
  if (!before || !after) return std::nullopt;
  return Wakeups{static_cast<double>(after->taken - before->taken) / seconds,
                 static_cast<double>(after->timers - before->timers) / seconds};
}
