// A test DLL that a WH_GETMESSAGE hook loads into the program: it describes the program's menu,
// or tells its shutdown level or the clicks it has taken, to the test that asks.
#include <windows.h>

#include <string>

#include "menu_probe.h"
#include "probe_reply.h"

namespace {

// The hook runs on the program's one thread only.
unsigned buttonUps = 0;

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

std::wstring DescribeMenu(HWND window) {
  const HMENU bar = ::GetMenu(window);
  const HMENU popup = ::GetSubMenu(bar, 0);
  std::wstring description = ItemText(bar, 0) + L":";
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT position = static_cast<UINT>(i);
    const UINT state = ::GetMenuState(popup, position, MF_BYPOSITION);
    if ((state & MF_SEPARATOR) != 0) {
      description += L" -";
      continue;
    }
    description += L" " + ItemText(popup, position);
    if ((state & MF_CHECKED) != 0) description += L"(checked)";
  }
  return description;
}

void Reply(HWND to, HWND from, const std::wstring& text) {
  AnswerProbe(to, from, text.data(), text.size() * sizeof(wchar_t));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    const auto replyTo = reinterpret_cast<HWND>(message->wParam);
    if (message->message == WM_LBUTTONUP || message->message == WM_RBUTTONUP ||
        message->message == WM_MBUTTONUP) {
      ++buttonUps;
    } else if (message->message == ::RegisterWindowMessageW(kButtonUpsProbeMessage)) {
      Reply(replyTo, message->hwnd, std::to_wstring(buttonUps));
    } else if (message->message == ::RegisterWindowMessageW(kMenuProbeMessage)) {
      Reply(replyTo, message->hwnd, DescribeMenu(message->hwnd));
    } else if (message->message == ::RegisterWindowMessageW(kShutdownLevelProbeMessage)) {
      DWORD level = 0;
      DWORD flags = 0;
      ::GetProcessShutdownParameters(&level, &flags);
      Reply(replyTo, message->hwnd, std::to_wstring(level));
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
