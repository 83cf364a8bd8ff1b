#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "win32/handles.h"

// A program started for a test; ended when the test lets go of it.
class ChildProcess {
 public:
  ChildProcess() = default;
  // Starts the program with the command-line arguments; check Running() afterwards.
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ~ChildProcess() { Terminate(); }
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;

  bool Running() const;
  // Waits for the program to end; its exit code, or -1 when it did not end in time.
  long WaitForExit(std::chrono::milliseconds timeout);
  void Terminate();
  DWORD Id() const { return mId; }

 private:
  UniqueKernelHandle mProcess;
  DWORD mId = 0;
};

// A path the build gave as a Linux path, as Wine's Windows programs see it (drive Z: is /).
std::wstring WindowsPath(const std::string& linuxPath);

// Polls for a top-level window of the class (and, when given, of the process) until the
// timeout; nullptr when none appeared.
HWND WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout,
                   DWORD processId = 0);

// Polls until the condition holds or the timeout passes; returns the condition's last value.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    ::Sleep(25);
  }
  return true;
}
