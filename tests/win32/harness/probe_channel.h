#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "program_hook.h"
#include "win32/handles.h"

// Talks to a probe DLL hooked onto the program's window thread: a request is a registered
// message posted to the program's window, and the probe answers with WM_COPYDATA to a hidden
// window of the test, whose handle the request carries in wParam.
class ProbeChannel {
 public:
  ProbeChannel(const std::wstring& dllPath, const char* hookProcedure, HWND program);
  ProbeChannel(const ProbeChannel&) = delete;
  ProbeChannel& operator=(const ProbeChannel&) = delete;

  bool Installed() const { return mReplyWindow && mHook.Installed(); }
  // The probe's answer to the request; nullopt when the program did not answer. The hook loads
  // into the program with a message it takes, so the request is posted again until it answers.
  std::optional<std::vector<BYTE>> Ask(const wchar_t* request, LPARAM argument = 0);
  // A request that has no answer; the program handles it before anything asked later.
  void Tell(const wchar_t* request, WPARAM wParam, LPARAM lParam) const;

 private:
  HWND mProgram;
  std::optional<std::vector<BYTE>> mReply;
  UniqueWindow mReplyWindow;
  ProgramHook mHook;
};
