// Starts the program from the path given, as the Start-menu shortcut would, waits for its window,
// closes it as the user would and expects a clean exit. The installer test runs it under Wine.
//   --reads-mood: with the stand-in chat client running, the program reads its mood text, which
//     it can only when the chat client's component is registered for its bitness.
//   --refuses SETUP-EXE: the installer, run silently while the window is shown, refuses (NSIS
//     exit code 2 for a cancelled install).
#include <windows.h>

#include <cstdio>
#include <string>

#include "child_process.h"
#include "standins.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr long kInstallCancelled = 2;
constexpr wchar_t kOwnMood[] = L"Reading in the garden";

bool Fail(const wchar_t* what, const wchar_t* program) {
  std::fwprintf(stderr, L"%ls %ls\n", program, what);
  return false;
}

bool Fail(const wchar_t* what, const wchar_t* program, long exitCode) {
  std::fwprintf(stderr, L"%ls %ls (exit code %ld)\n", program, what, exitCode);
  return false;
}

bool ReadsMood(const chat_standin::ChatStandIn& chat, DWORD program) {
  for (const chat_standin::Call& call : chat.Log(L"ReadMood")) {
    if (call.process == program && call.result == S_OK && call.text == kOwnMood) return true;
  }
  return false;
}

bool InstallerRefuses(const wchar_t* setup, const ChildProcess& program) {
  ChildProcess installer(setup, L"/S");
  const long installerExit = installer.WaitForExit();
  return (installerExit == kInstallCancelled && program.Running()) ||
         Fail(L"did not refuse while the program ran", setup, installerExit);
}

bool Check(const wchar_t* exe, const std::wstring& option, const wchar_t* setup) {
  ChatClient chat;
  if (option == L"--reads-mood" && !chat.Start(kOwnMood)) {
    return Fail(L"was not started: the stand-in chat client did not start", exe);
  }
  ChildProcess program(exe, L"");
  if (!program.Running()) return Fail(L"did not start", exe);
  const HWND window = WaitForShownWindow(program.Id());
  if (window == nullptr) return Fail(L"showed no window", exe);
  if (chat.Running() && !WaitUntil([&] { return ReadsMood(chat.Chat(), program.Id()); })) {
    return Fail(L"did not read the stand-in chat client's mood", exe);
  }
  if (setup != nullptr && !InstallerRefuses(setup, program)) return false;
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const long exitCode = program.WaitForExit();
  if (exitCode != 0) return Fail(L"did not end cleanly", exe, exitCode);
  return !chat.Running() || chat.Close() ||
         Fail(L"ran, but the stand-in chat client did not end cleanly", exe);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring option = argc > 2 ? argv[2] : L"";
  const bool valid = argc == 2 || (argc == 3 && option == L"--reads-mood") ||
                     (argc == 4 && option == L"--refuses");
  if (!valid) {
    std::fputws(
        L"usage: installed_program_check TUNEMOOD-EXE [--reads-mood | --refuses SETUP-EXE]\n",
        stderr);
    return 2;
  }
  return Check(argv[1], option, argc == 4 ? argv[3] : nullptr) ? 0 : 1;
}
