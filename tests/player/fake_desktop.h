#pragma once

#include <map>
#include <string>

#include "platform/desktop.h"

// Made-up windows: one handle per class, one raw caption per handle. It counts what it is
// asked, so tests can tell that nothing is remembered between calls.
class FakeDesktop final : public Desktop {
 public:
  std::map<std::wstring, WindowHandle> windows;   // class name to handle
  std::map<WindowHandle, std::wstring> captions;  // as the window hands them out
  mutable int lookups = 0;
  mutable int reads = 0;

  void ShowPlayer(WindowHandle window, const std::wstring& caption) {
    windows[L"Winamp v1.x"] = window;
    captions[window] = caption;
  }

  WindowHandle FindWindowByClass(const wchar_t* className) const override {
    ++lookups;
    const auto found = windows.find(className);
    return found == windows.end() ? 0 : found->second;
  }
  std::wstring ReadWindowText(WindowHandle window) const override {
    ++reads;
    const auto found = captions.find(window);
    return found == captions.end() ? std::wstring() : found->second;
  }
};
