#pragma once

#include <windows.h>

#include <cstddef>

// The probe's side of ProbeChannel: its answer, copied to the test's window named in the
// request's wParam. Header-only, since the probe is a DLL of its own.
inline void AnswerProbe(HWND to, HWND from, const void* bytes, std::size_t size) {
  COPYDATASTRUCT data{};
  data.cbData = static_cast<DWORD>(size);
  data.lpData = const_cast<void*>(bytes);
  DWORD_PTR unused = 0;
  ::SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000, &unused);
}
