#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Which defaults the window frame and the system's fonts follow.
enum class Metrics { Wine, Windows10And11 };

// The display density and metrics of the current user in the Wine prefix, for the programs
// started while it lives; what was there before is put back at its end. Wine reads them in each
// process as it starts, so neither a new prefix nor a new server is needed.
class DisplaySettings {
 public:
  DisplaySettings(unsigned dpi, Metrics metrics);
  ~DisplaySettings();
  DisplaySettings(const DisplaySettings&) = delete;
  DisplaySettings& operator=(const DisplaySettings&) = delete;

  // A registry value's type and bytes.
  struct Data {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
  };

 private:
  // A value as it was before; no data when it did not exist.
  struct Saved {
    const wchar_t* key;
    const wchar_t* name;
    std::optional<Data> before;
  };

  void Set(const wchar_t* key, const wchar_t* name, const Data& data);

  std::vector<Saved> mSaved;
};
