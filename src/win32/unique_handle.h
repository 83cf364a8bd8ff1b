#pragma once

#include <utility>

// The value most handles use for "none".
template <typename T>
constexpr T NullHandle() {
  return T{};
}

// Owns one Windows resource and frees it exactly once. Moves, never copies: a copy would free
// twice. Empty is a function that gives the value meaning "none": a pointer constant such as
// INVALID_HANDLE_VALUE cannot be a template argument itself.
template <typename T, auto Free, auto Empty = &NullHandle<T>>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T value) : mValue(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : mValue(std::exchange(other.mValue, Empty())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.mValue, Empty()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  T get() const { return mValue; }
  explicit operator bool() const { return mValue != Empty(); }
  // For out-parameters: frees what is held and hands out the slot.
  T* put() {
    reset();
    return &mValue;
  }
  void reset(T value = Empty()) {
    if (mValue != Empty()) Free(mValue);
    mValue = value;
  }

 private:
  T mValue = Empty();
};
