#pragma once

#include <windows.h>

// The display density the window is shown at; the system's where Windows cannot tell it per
// window (before Windows 10 1607).
unsigned WindowDpi(HWND window);
// The density the system's metrics, such as its fonts, are given in.
unsigned SystemDpi();
