#include "win32/dpi.h"

#include "win32/gdi.h"
#include "win32/module_export.h"

unsigned SystemDpi() {
  const WindowDc screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? static_cast<unsigned>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

unsigned WindowDpi(HWND window) {
  // Looked up at run time: the program also runs on Windows 7, which lacks it.
  const auto getDpiForWindow =
      FindExport<UINT WINAPI(HWND)>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}
