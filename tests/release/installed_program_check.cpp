// Starts the program from the path given, as the Start-menu shortcut would, waits for its window,
// closes it as the user would and expects a clean exit. Given an installer as well, runs it
// silently while the window is shown and expects it to refuse (NSIS exit code 2 for a cancelled
// install). The installer test runs it under Wine.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "child_process.h"
#include "window_search.h"

namespace {

using namespace std::chrono_literals;

constexpr long kInstallCancelled = 2;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 3) {
    std::fputws(L"usage: installed_program_check TUNEMOOD-EXE [SETUP-EXE]\n", stderr);
    return 2;
  }
  ChildProcess program(argv[1], L"");
  if (!program.Running()) {
    std::fwprintf(stderr, L"%ls did not start\n", argv[1]);
    return 1;
  }
  const HWND window = WaitForShownWindow(program.Id(), 10s);
  if (window == nullptr) {
    std::fwprintf(stderr, L"%ls showed no window\n", argv[1]);
    return 1;
  }
  if (argc == 3) {
    ChildProcess installer(argv[2], L"/S");
    const long installerExit = installer.WaitForExit(30s);
    if (installerExit != kInstallCancelled || !program.Running()) {
      std::fwprintf(stderr, L"%ls did not refuse while the program ran (exit code %ld)\n", argv[2],
                    installerExit);
      return 1;
    }
  }
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const long exitCode = program.WaitForExit(10s);
  if (exitCode != 0) {
    std::fwprintf(stderr, L"%ls did not end cleanly (exit code %ld)\n", argv[1], exitCode);
    return 1;
  }
  return 0;
}
