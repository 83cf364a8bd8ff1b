#include "win32/dpi.h"

#include "win32/gdi.h"

unsigned SystemDpi() {
  const WindowDc screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? static_cast<unsigned>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

unsigned WindowDpi(HWND window) {
  // Looked up at run time: the program also runs on Windows 7, which lacks it.
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  const auto getDpiForWindow =
      reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void (*)()>(found));
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}
