#pragma once

#include <array>
#include <cstdint>

enum class Hive { LocalMachine, CurrentUser };

// Read-only registry access.
class Registry {
 public:
  virtual ~Registry() = default;

  // Reads a value of any type into the buffer, which is zeroed first. False when the key cannot
  // be opened or the value cannot be read into 4 bytes.
  virtual bool ReadValue(Hive hive, const wchar_t* key, const wchar_t* value,
                         std::array<std::uint8_t, 4>& buffer) const = 0;
};
