#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "program_hook.h"
#include "win32/handles.h"

// Talks to a probe DLL hooked onto the program's window thread: a request is a registered
// message posted to the program's window, and the probe answers with WM_COPYDATA to a hidden
// window of the test, whose handle the request carries in wParam. A request sent instead (to a
// probe of WH_CALLWNDPROC) reaches the program also while it waits inside a handler, in a call
// that takes only sent messages.
class ProbeChannel {
 public:
  enum class Delivery { Posted, Sent };
  ProbeChannel(const std::wstring& dllPath, const char* hookProcedure, HWND program,
               Delivery delivery = Delivery::Posted);
  ProbeChannel(const ProbeChannel&) = delete;
  ProbeChannel& operator=(const ProbeChannel&) = delete;

  bool Installed() const { return mReplyWindow && mHook.Installed(); }
  // The probe's answer to the request; nullopt when the program did not answer. A posted
  // request is posted again until it answers, since the hook loads with a message the program
  // takes.
  std::optional<std::vector<BYTE>> Ask(const wchar_t* request, LPARAM argument = 0);
  // The same for a probe that answers with text.
  std::optional<std::wstring> AskText(const wchar_t* request, LPARAM argument = 0);
  // A request that has no answer; the program handles it before anything asked later.
  void Tell(const wchar_t* request, WPARAM wParam, LPARAM lParam) const;

 private:
  HWND mProgram;
  Delivery mDelivery;
  std::optional<std::vector<BYTE>> mReply;
  UniqueWindow mReplyWindow;
  ProgramHook mHook;
};
