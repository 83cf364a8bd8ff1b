#include <windows.h>

#include <cstdlib>

#include "app/live_outside.h"
#include "app/main.h"
#include "win32/com_apartment.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"
#include "win32/main_window.h"
#include "win32/module_export.h"
#include "win32/registry.h"
#include "win32/single_instance.h"

namespace {

class Win32Program final : public Program {
 public:
  Win32Program(HINSTANCE instance, Outside& outside) : mWindow(instance, outside) {}

  bool IsAnotherCopyRunning() override { return mInstance.IsAnotherCopyRunning(); }
  void LoadAndShowFrmMain() override {
    mLoaded = mWindow.Load();
    if (mLoaded) mWindow.Show();
  }
  bool IsRunning() const { return mLoaded; }
  MainWindow& Window() { return mWindow; }

 private:
  SingleInstance mInstance;
  MainWindow mWindow;
  bool mLoaded = false;
};

// Nothing that is loaded later comes from the current folder or the program's own, where a
// stranger's file could wait: only from System32. The chat client's component is loaded by the
// full path it registered. Windows 7 without its loader update lacks the call; there the
// current folder at least leaves the search.
void RestrictDllSearch() {
  const auto setDefaultDllDirectories = FindExport<BOOL WINAPI(DWORD)>(
      ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDllDirectories == nullptr ||
      !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    ::SetDllDirectoryW(L"");
  }
}

// At log-off Windows asks the processes of a higher level first, where it keeps that order at
// all: above the default of ordinary programs, the chat client among them, the query finds it
// still there. The window's life does not count on it: it puts the mood back at the query.
void EndBeforeOrdinaryPrograms() {
  constexpr DWORD kApplicationsFirstLevel = 0x300;  // ordinary programs keep 0x280
  ::SetProcessShutdownParameters(kApplicationsFirstLevel, 0);
}

// Ends with the quit message, which the window's life posts once the window is gone; a quit from
// outside ends it too, after the window's life has unloaded the window.
int RunMessageLoop(FormLife& life) {
  MSG message{};
  BOOL got = FALSE;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  life.QuitTaken();
  return got == 0 ? static_cast<int>(message.wParam) : EXIT_FAILURE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  EndBeforeOrdinaryPrograms();
  ComApartment apartment;
  Win32Desktop desktop;
  Win32Registry registry;
  ComAutomation automation;
  LiveOutside outside(desktop, registry, automation);
  Win32Program program(instance, outside);
  Main(outside, program);
  return program.IsRunning() ? RunMessageLoop(program.Window().Life()) : 0;
}
