#pragma once

// What the ui tests share: the build's arguments, waiting with messages handled, and a window
// of the player's class made by the test itself.
#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <string>
#include <vector>

#include "child_process.h"

// The arguments the build passes: the program, the probe DLL and the screenshot's path.
inline std::wstring Argument(std::size_t index) {
  int count = 0;
  UniqueHandle<LPWSTR*, &::LocalFree> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::wstring> ours;
  for (int i = 1; i < count; ++i) {
    std::wstring argument = arguments.get()[i];
    if (argument.rfind(L"--gtest", 0) != 0) ours.push_back(argument);
  }
  return index < ours.size() ? ours[index] : std::wstring();
}

inline std::wstring LinuxArgument(std::size_t index) {
  const std::wstring path = Argument(index);
  return WindowsPath(std::string(path.begin(), path.end()));
}

// Waits while handling this thread's messages: the program sends some to our windows.
template <typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        return condition();
      },
      timeout);
}

inline bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr) {
  DWORD_PTR unused = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                               result != nullptr ? result : &unused) != 0;
}

// A hidden top-level window of the player's class with the given caption.
class PlayerWindow {
 public:
  explicit PlayerWindow(const wchar_t* caption) {
    WNDCLASSW playerClass{};
    playerClass.lpfnWndProc = &::DefWindowProcW;
    playerClass.hInstance = ::GetModuleHandleW(nullptr);
    playerClass.lpszClassName = L"Winamp v1.x";
    ::RegisterClassW(&playerClass);
    mWindow.reset(::CreateWindowExW(0, playerClass.lpszClassName, caption, WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, playerClass.hInstance, nullptr));
  }

 private:
  UniqueHandle<HWND, &::DestroyWindow> mWindow;
};
