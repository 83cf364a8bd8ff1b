#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

// A program started for a test; ended when the test lets go of it or starts another in its
// place.
class ChildProcess {
 public:
  ChildProcess() = default;
  // Starts the program with the command-line arguments; check Running() afterwards.
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ~ChildProcess() { Terminate(); }
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running() const;
  // Waits for the program to end; its exit code, or -1 when it hangs.
  long WaitForExit();
  void Terminate();
  DWORD Id() const { return mId; }

 private:
  UniqueKernelHandle mProcess;
  DWORD mId = 0;
};
