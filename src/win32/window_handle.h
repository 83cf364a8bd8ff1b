#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/desktop.h"

// Window handles carry 32 significant bits on 64-bit Windows too: they are sign-extended.
inline WindowHandle ToWindowHandle(HWND hwnd) {
  return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(hwnd));
}

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window));
}
