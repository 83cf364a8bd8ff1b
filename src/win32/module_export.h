#pragma once

#include <windows.h>

// A function a module exports, typed as what it is; null when the module lacks it. FARPROC
// goes through a plain function pointer first: a direct cast between function types warns.
template <typename Function>
Function* FindExport(HMODULE module, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
