// A bench DLL that a WH_GETMESSAGE hook loads into the program: it counts what wakes the
// program's thread, one message taken from the queue at a time.
#include <windows.h>

#include "wakeup_probe.h"

namespace {

// The hook runs on the program's one thread only.
WPARAM taken = 0;
LPARAM timers = 0;

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    WakeupProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == ::RegisterWindowMessageW(kWakeupProbeQuestion)) {
      ::PostMessageW(reinterpret_cast<HWND>(message->wParam), kWakeupProbeReply, taken, timers);
    } else {
      ++taken;
      if (message->message == WM_TIMER) ++timers;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
