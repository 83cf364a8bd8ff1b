// A test DLL that a WH_CALLWNDPROC hook loads into the program: it tells the shutdown block
// reason of the program's window. The request is sent, so it is answered also while the program
// waits in a call to the chat client inside WM_ENDSESSION, where only sent messages run.
//
// Wine 8 answers ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy with
// ERROR_CALL_NOT_IMPLEMENTED and has no ShutdownBlockReasonQuery. So the probe keeps the reason
// itself, as Windows would: it points the program's imports of the two calls at its own, which
// note the reason and go on to the system's.
#include <windows.h>

#include <string>

#include "probe_reply.h"
#include "shutdown_block_probe.h"
#include "win32/module_export.h"

namespace {

using CreateReason = BOOL WINAPI(HWND, LPCWSTR);
using DestroyReason = BOOL WINAPI(HWND);

CreateReason* gSystemCreate = nullptr;
DestroyReason* gSystemDestroy = nullptr;
HWND gBlocked = nullptr;
std::wstring gReason;

BOOL WINAPI NoteCreate(HWND window, LPCWSTR reason) {
  gBlocked = window;
  gReason = reason != nullptr ? reason : L"";
  return gSystemCreate(window, reason);
}

BOOL WINAPI NoteDestroy(HWND window) {
  if (window == gBlocked) gBlocked = nullptr;
  return gSystemDestroy(window);
}

// Points every import of the function in the program's own module at the replacement.
template <typename Function>
void Redirect(Function* original, Function* replacement) {
  if (original == nullptr) return;
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto* module =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
         slot->u1.Function != 0; ++slot) {
      if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(original)) continue;
      DWORD protection = 0;
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
    }
  }
}

// Once, before the first message the hook sees reaches the window.
void NoteFromNowOn() {
  if (gSystemCreate != nullptr) return;
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  gSystemCreate = FindExport<CreateReason>(user32, "ShutdownBlockReasonCreate");
  gSystemDestroy = FindExport<DestroyReason>(user32, "ShutdownBlockReasonDestroy");
  Redirect(gSystemCreate, &NoteCreate);
  Redirect(gSystemDestroy, &NoteDestroy);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ShutdownBlockProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  NoteFromNowOn();
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == ::RegisterWindowMessageW(kShutdownBlockProbeMessage)) {
      const std::wstring reason = sent->hwnd == gBlocked ? gReason : std::wstring();
      AnswerProbe(reinterpret_cast<HWND>(sent->wParam), sent->hwnd, reason.data(),
                  reason.size() * sizeof(wchar_t));
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
