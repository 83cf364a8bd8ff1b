#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/registry.h"

// The chat client's policy value in each hive, stored as raw bytes of any type. Reads behave as
// a 4-byte query does; any other key or value reads as missing, so a read at the wrong place
// finds nothing.
class FakeRegistry final : public Registry {
 public:
  using Bytes = std::vector<std::uint8_t>;

  std::map<Hive, Bytes> policy;
  bool queryFails = false;

  bool ReadValue(Hive hive, const wchar_t* key, const wchar_t* value,
                 std::array<std::uint8_t, 4>& buffer) const override {
    buffer.fill(0);
    const auto stored = policy.find(hive);
    if (std::wstring_view(key) != L"SOFTWARE\\Policies\\Skype\\Phone" ||
        std::wstring_view(value) != L"DisableApi" || stored == policy.end()) {
      return false;
    }
    const Bytes& bytes = stored->second;
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), buffer.size()), buffer.begin());
    // A failed query may still leave bytes behind.
    return !queryFails && bytes.size() <= buffer.size();
  }
};
