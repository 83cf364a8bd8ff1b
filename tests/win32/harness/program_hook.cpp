#include "program_hook.h"

#include <type_traits>

#include "win32/module_export.h"

ProgramHook::ProgramHook(const std::wstring& dllPath, const char* hookProcedure, HWND program,
                         int kind)
    : mDll(::LoadLibraryW(dllPath.c_str())) {
  if (!mDll) return;
  const auto hook = FindExport<std::remove_pointer_t<HOOKPROC>>(mDll.get(), hookProcedure);
  if (hook == nullptr) return;
  mHook.reset(
      ::SetWindowsHookExW(kind, hook, mDll.get(), ::GetWindowThreadProcessId(program, nullptr)));
}
