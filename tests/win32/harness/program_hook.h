#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

// A test DLL loaded into the program by a WH_GETMESSAGE hook on its window's thread, to see
// what only the program's own process can (Wine hands other processes no menu). The DLL loads
// with the first message the thread takes after the hook is set.
class ProgramHook {
 public:
  ProgramHook(const std::wstring& dllPath, const char* hookProcedure, HWND program);
  bool Installed() const { return static_cast<bool>(mHook); }

 private:
  UniqueModule mDll;
  UniqueHook mHook;
};
