#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/desktop.h"

// The window classes the program looks for.
inline constexpr const wchar_t* kPlayerClass = L"Winamp v1.x";
inline constexpr const wchar_t* kChatClass = L"tSkMainForm";

// Made-up top-level windows: one handle per class, one caption per handle, handed out as stored
// (with the null and the spaces of a short reply, when a test puts them there). It counts what
// it is asked, so tests can tell that nothing is remembered between calls.
class FakeDesktop final : public Desktop {
 public:
  std::map<std::wstring, WindowHandle, std::less<>> windows;  // class name to handle
  std::map<WindowHandle, std::wstring> captions;
  mutable int lookups = 0;
  mutable int reads = 0;

  void ShowPlayer(WindowHandle window, const std::wstring& caption) {
    windows[kPlayerClass] = window;
    captions[window] = caption;
  }
  void ClosePlayer() {
    const auto player = windows.find(kPlayerClass);
    if (player == windows.end()) return;
    captions.erase(player->second);
    windows.erase(player);
  }

  WindowHandle FindWindowByClass(const wchar_t* className) const override {
    ++lookups;
    const auto found = windows.find(std::wstring_view(className));
    return found == windows.end() ? 0 : found->second;
  }
  std::wstring ReadWindowText(WindowHandle window) const override {
    ++reads;
    const auto found = captions.find(window);
    return found == captions.end() ? std::wstring() : found->second;
  }
};
