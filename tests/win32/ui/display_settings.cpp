#include "display_settings.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kWindowMetrics[] = L"Control Panel\\Desktop\\WindowMetrics";

std::optional<DisplaySettings::Data> Read(const wchar_t* key, const wchar_t* name) {
  DisplaySettings::Data data;
  DWORD size = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &data.type, nullptr,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.bytes.resize(size);
  ::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &data.type,
                 data.bytes.data(), &size);
  data.bytes.resize(size);
  return data;
}

void Write(const wchar_t* key, const wchar_t* name, const DisplaySettings::Data& data) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, data.type, data.bytes.data(),
                    static_cast<DWORD>(data.bytes.size()));
}

std::vector<BYTE> Bytes(const void* data, std::size_t size) {
  const auto* first = static_cast<const BYTE*>(data);
  return {first, first + size};
}

std::vector<BYTE> Text(std::wstring_view text) {
  const std::wstring terminated(text);
  return Bytes(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
}

// Windows 10 and 11's message font is Segoe UI 9 pt (-12), with 16-pixel lines at 96 dpi. Wine
// has no Segoe UI; the font it takes instead has lines of that height at -14.
std::vector<BYTE> Windows10And11MessageFont() {
  LOGFONTW font{};
  font.lfHeight = -14;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  constexpr wchar_t kFace[] = L"Segoe UI";
  std::copy(std::begin(kFace), std::end(kFace), font.lfFaceName);
  return Bytes(&font, sizeof font);
}

}  // namespace

DisplaySettings::DisplaySettings(unsigned dpi, Metrics metrics) {
  const DWORD pixelsPerInch = dpi;
  Set(kDesktop, L"LogPixels", {REG_DWORD, Bytes(&pixelsPerInch, sizeof pixelsPerInch)});
  if (metrics == Metrics::Windows10And11) {
    // In negative twips: captions of 23 pixels and menu bars of 20 at 96 dpi.
    Set(kWindowMetrics, L"CaptionHeight", {REG_SZ, Text(L"-330")});
    Set(kWindowMetrics, L"MenuHeight", {REG_SZ, Text(L"-285")});
    Set(kWindowMetrics, L"MessageFont", {REG_BINARY, Windows10And11MessageFont()});
  }
}

DisplaySettings::~DisplaySettings() {
  for (auto saved = mSaved.rbegin(); saved != mSaved.rend(); ++saved) {
    if (saved->before) {
      Write(saved->key, saved->name, *saved->before);
    } else {
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, saved->key, saved->name);
    }
  }
}

void DisplaySettings::Set(const wchar_t* key, const wchar_t* name, const Data& data) {
  mSaved.push_back({key, name, Read(key, name)});
  Write(key, name, data);
}
