#include "win32/version_info.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

std::wstring OwnFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut off: try a larger buffer
  }
}

std::wstring Hex4(unsigned value) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring hex(4, L'0');
  for (std::size_t i = hex.size(); i-- > 0; value >>= 4) hex[i] = kDigits[value & 0xFu];
  return hex;
}

struct Translation {
  WORD language;
  WORD codePage;
};

}  // namespace

std::wstring ReadOwnVersionString(const wchar_t* name) {
  const std::wstring path = OwnFilePath();
  DWORD unused = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &unused);
  if (size == 0) return {};
  std::vector<std::byte> block(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};

  void* found = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  const auto* translation = static_cast<const Translation*>(found);
  const std::wstring key = L"\\StringFileInfo\\" + Hex4(translation->language) +
                           Hex4(translation->codePage) + L"\\" + name;
  if (!::VerQueryValueW(block.data(), key.c_str(), &found, &length) || length == 0) return {};
  const auto* text = static_cast<const wchar_t*>(found);
  return std::wstring(text, ::wcsnlen(text, length));
}
