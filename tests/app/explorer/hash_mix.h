#pragma once

#include <cstdint>

namespace explorer {

// Folds a value into a state's hash.
inline void Mix(std::uint64_t& hash, std::uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6U) + (hash >> 2U);
}

}  // namespace explorer
