#pragma once

#include <cstdint>

namespace explorer {

// Folds a value into a state's hash. States are told apart by their hash alone, so each value
// is spread over all 64 bits: a weaker mix merges states that differ in a few flags, and the
// states behind them go unexplored.
inline void Mix(std::uint64_t& hash, std::uint64_t value) {
  std::uint64_t z = hash ^ (value * 0xD6E8FEB86659FD93ULL) ^ 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
  hash = (z ^ (z >> 31U)) + value;
}

}  // namespace explorer
