#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

// A test DLL loaded into the program by a hook on its window's thread, to see what only the
// program's own process can (Wine hands other processes no menu). A WH_GETMESSAGE hook loads
// the DLL with the first message the thread takes after the hook is set, a WH_CALLWNDPROC hook
// with the first message sent to one of its windows.
class ProgramHook {
 public:
  ProgramHook(const std::wstring& dllPath, const char* hookProcedure, HWND program,
              int kind = WH_GETMESSAGE);
  bool Installed() const { return static_cast<bool>(mHook); }

 private:
  UniqueModule mDll;
  UniqueHook mHook;
};
