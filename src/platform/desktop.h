#pragma once

#include <cstdint>
#include <string>

// A window handle as the program sees it: 32-bit signed, 0 for no window.
using WindowHandle = std::int32_t;

// The window system, as far as the program looks at other programs' windows.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The top-level window of this class, whatever its caption; 0 when there is none.
  virtual WindowHandle FindWindowByClass(const wchar_t* className) const = 0;
  // The caption as the window hands it out: as many characters as its announced length, read
  // into a buffer of spaces; "" when the announced length is below 1. A reply shorter than
  // announced leaves a null character and the buffer's spaces behind it.
  virtual std::wstring ReadWindowText(WindowHandle window) const = 0;
};
