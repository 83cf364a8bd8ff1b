#include "ui/about.h"

AboutBox MakeAboutBox(const std::wstring& title, const std::wstring& description,
                      const std::wstring& copyright) {
  return {L"About " + title, title + L"\r\r" + description + L"\r\r" + copyright};
}
