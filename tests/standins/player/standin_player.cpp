// A stand-in for the media player: one visible top-level window of class "Winamp v1.x".
//
//   standin_player.exe [CAPTION]
//
// The window shows CAPTION (one command-line argument, quoted as Windows quotes arguments);
// without it, or with an empty one, the window has no caption. Other processes change the
// caption with SetWindowTextW or WM_SETTEXT. The program ends when its window is closed
// (WM_CLOSE) and exits with 0.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <string>

#include "win32/handles.h"

namespace {

std::wstring CaptionFromCommandLine() {
  int count = 0;
  const UniqueArgumentList arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  return arguments && count > 1 ? std::wstring(arguments.get()[1]) : std::wstring();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t* const className = L"Winamp v1.x";
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  if (!::RegisterClassExW(&windowClass)) return 1;
  const std::wstring caption = CaptionFromCommandLine();
  if (!::CreateWindowExW(0, className, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         CW_USEDEFAULT, CW_USEDEFAULT, 400, 120, nullptr, nullptr, instance,
                         nullptr))
    return 1;
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
