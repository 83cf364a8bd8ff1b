#pragma once

#include "platform/desktop.h"

// Window lookup and caption reads through the wide-character calls, so that every caption
// arrives as Unicode whatever the system's code page.
class Win32Desktop final : public Desktop {
 public:
  WindowHandle FindWindowByClass(const wchar_t* className) const override;
  std::wstring ReadWindowText(WindowHandle window) const override;
};
