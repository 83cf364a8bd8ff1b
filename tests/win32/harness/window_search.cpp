#include "window_search.h"

#include "waiting.h"

HWND FindShownWindow(DWORD processId, const wchar_t* className) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
       w = ::FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == processId && ::IsWindowVisible(w) && ::GetWindow(w, GW_OWNER) == nullptr) {
      return w;
    }
  }
  return nullptr;
}

HWND WaitForShownWindow(DWORD processId, const wchar_t* className) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindShownWindow(processId, className)) != nullptr; });
  return found;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  DWORD_PTR unused = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                               static_cast<UINT>(kHangLimit.count()),
                               result != nullptr ? result : &unused) != 0;
}
