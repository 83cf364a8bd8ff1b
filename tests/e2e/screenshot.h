#pragma once

#include <windows.h>

#include <string>

// Saves what the screen shows of the window, frame included, as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::wstring& path);
