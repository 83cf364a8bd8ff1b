#pragma once

#include <windows.h>

#include <chrono>

// Every wait of the tests ends on what it waits for: a window, a call in the chat client's log,
// a tick of the program, a process's end. Its limit only tells a hang from a busy machine, which
// may take many seconds for what a quiet one does in a tick.
inline constexpr std::chrono::milliseconds kHangLimit{60000};

// Polls until the condition holds or the limit passes; returns the condition's last value.
// This thread's messages are handled meanwhile: the program sends some to the test's windows.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = kHangLimit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(25);
  }
}
