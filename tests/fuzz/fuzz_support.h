#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Fuzz input as the text Windows would hand out: little-endian UTF-16 code units, two bytes
// each, so that lone surrogates and nulls arrive as they would from another program's window.
inline std::wstring WideText(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8U));
  }
  return text;
}

// A broken property ends the run with the input saved, like a crash.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}
