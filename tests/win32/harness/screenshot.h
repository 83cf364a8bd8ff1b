#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the screen shows of an area, 24 bits a pixel, rows from the bottom up.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<BYTE> pixels;
};

Screenshot TakeScreenshot(const RECT& area);
// As a BMP file; false when it could not be written.
bool SaveBitmap(const Screenshot& shot, const std::wstring& path);
