#include "win32/desktop.h"

#include <windows.h>

#include "win32/window_handle.h"

WindowHandle Win32Desktop::FindWindowByClass(const wchar_t* className) const {
  return ToWindowHandle(::FindWindowW(className, nullptr));
}

std::wstring Win32Desktop::ReadWindowText(WindowHandle window) const {
  const HWND hwnd = ToHwnd(window);
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length < 1) return {};
  std::wstring text(static_cast<std::size_t>(length), L' ');
  // The buffer holds the caption and its terminating null; the count copied is not needed, a
  // shorter reply leaves its null inside the text.
  ::GetWindowTextW(hwnd, text.data(), length + 1);
  return text;
}
