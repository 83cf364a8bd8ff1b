#pragma once

#include "platform/registry.h"

class Win32Registry final : public Registry {
 public:
  bool ReadValue(Hive hive, const wchar_t* key, const wchar_t* value,
                 std::array<std::uint8_t, 4>& buffer) const override;
};
