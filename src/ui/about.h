#pragma once

#include <string>

// The About box's caption and text, made from the program's version information.
struct AboutBox {
  std::wstring caption;
  std::wstring text;
};

// The text is five lines: title, empty line, description, empty line, copyright line. Each
// break is a lone carriage return, twice.
AboutBox MakeAboutBox(const std::wstring& title, const std::wstring& description,
                      const std::wstring& copyright);
