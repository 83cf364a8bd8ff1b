#include "win32/version_info.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "win32/handles.h"
#include "win32/module_export.h"

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

// version.dll is not one of the DLLs that Windows always takes from its own folder: imported,
// it would be looked for beside the program first, where anyone who can write that folder could
// plant one. So it is loaded by its full path in the system folder, when needed.
class VersionLibrary {
 public:
  VersionLibrary() : mModule(::LoadLibraryW(SystemFolderPath(L"version.dll").c_str())) {}

  template <typename Function>
  Function* Find(const char* name) const {
    if (!mModule) return nullptr;
    return FindExport<Function>(mModule.get(), name);
  }

 private:
  static std::wstring SystemFolderPath(const wchar_t* file) {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size()) return {};
    folder.resize(length);
    return folder + L"\\" + file;
  }

  UniqueModule mModule;
};

}  // namespace

std::wstring ReadOwnVersionString(const wchar_t* name) {
  const VersionLibrary library;
  const auto infoSize =
      library.Find<decltype(::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
  const auto info = library.Find<decltype(::GetFileVersionInfoW)>("GetFileVersionInfoW");
  const auto query = library.Find<decltype(::VerQueryValueW)>("VerQueryValueW");
  if (!infoSize || !info || !query) return {};

  const std::wstring path = OwnFilePath();
  DWORD unused = 0;
  const DWORD size = infoSize(path.c_str(), &unused);
  if (size == 0) return {};
  std::vector<std::byte> block(size);
  if (!info(path.c_str(), 0, size, block.data())) return {};

  void* found = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", &found, &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  const auto* translation = static_cast<const Translation*>(found);
  const std::wstring key = L"\\StringFileInfo\\" + Hex4(translation->language) +
                           Hex4(translation->codePage) + L"\\" + name;
  if (!query(block.data(), key.c_str(), &found, &length) || length == 0) return {};
  const auto* text = static_cast<const wchar_t*>(found);
  return std::wstring(text, ::wcsnlen(text, length));
}
