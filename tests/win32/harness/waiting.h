#pragma once

#include <windows.h>

#include <chrono>

// Polls until the condition holds or the timeout passes; returns the condition's last value.
// This thread's messages are handled meanwhile: the program sends some to the test's windows.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(25);
  }
}
