#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One text that a program drew, as an enhanced metafile recorded it.
struct DrawnText {
  std::wstring text;
  // Where it was drawn: the top-left corner of its line, in the client area.
  POINT at{};
  // The font selected as it was drawn.
  LOGFONTW font{};
};

// The texts a metafile draws, in the order it draws them.
std::vector<DrawnText> ReadDrawnTexts(const std::vector<BYTE>& metafile);
