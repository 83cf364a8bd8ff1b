// Runs the installer with the arguments given, not silently, as a user would, and prints what it
// says and its exit code for the installer test, which runs it under Wine.
//   refusal: the installer refuses the arguments before it shows its own window, with a message
//     box; the user reads it and presses OK.
//   finish: the user agrees to the licence; once the finish page is shown, its sentence about
//     the installed program is printed and the user leaves it without starting the program.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "child_process.h"
#include "waiting.h"
#include "window_search.h"

namespace {

using namespace std::chrono_literals;

// The installer's Next, I Agree and Finish button.
constexpr int kNextButton = 1;
constexpr wchar_t kFinishText[] = L"&Finish";
constexpr wchar_t kChoiceStart[] = L"Installed the ";

std::wstring Text(HWND window) {
  wchar_t text[1024] = L"";
  ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

// The first control of the class, at any depth below the window, that the test accepts.
template <typename Test>
HWND FindControl(HWND window, const wchar_t* className, Test test) {
  for (HWND child = ::FindWindowExW(window, nullptr, nullptr, nullptr); child != nullptr;
       child = ::FindWindowExW(window, child, nullptr, nullptr)) {
    wchar_t childClass[64] = L"";
    ::GetClassNameW(child, childClass, static_cast<int>(std::size(childClass)));
    if (::lstrcmpiW(childClass, className) == 0 && test(child)) return child;
    if (const HWND found = FindControl(child, className, test)) return found;
  }
  return nullptr;
}

void Press(HWND window, int button) {
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, button)));
}

// A message box's message: the text of its static controls (the icon's has none).
bool Refusal(HWND box) {
  std::wstring message;
  for (HWND control = ::FindWindowExW(box, nullptr, L"Static", nullptr); control != nullptr;
       control = ::FindWindowExW(box, control, L"Static", nullptr)) {
    message += Text(control);
  }
  std::fwprintf(stdout, L"%ls\n", message.c_str());
  Press(box, IDOK);
  return true;
}

bool Finish(HWND installer) {
  Press(installer, kNextButton);
  HWND choice = nullptr;
  const bool finished = WaitUntil(
      [&] {
        choice = FindControl(installer, L"Static",
                             [](HWND control) { return Text(control).starts_with(kChoiceStart); });
        return choice != nullptr && Text(::GetDlgItem(installer, kNextButton)) == kFinishText;
      },
      60s);
  if (!finished) {
    std::fputws(L"the finish page with the installer's choice did not come\n", stderr);
    return false;
  }
  std::fwprintf(stdout, L"%ls\n", Text(choice).c_str());
  // Leaving "Run Tunemood" checked would start the program as the installer ends.
  const HWND run = FindControl(installer, L"Button", [](HWND control) {
    return (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
  });
  if (run == nullptr || !Send(run, BM_SETCHECK, BST_UNCHECKED, 0)) {
    std::fputws(L"the finish page has no check box to start the program\n", stderr);
    return false;
  }
  Press(installer, kNextButton);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (argc < 3 || (mode != L"refusal" && mode != L"finish")) {
    std::fputws(L"usage: installer_window_check refusal|finish SETUP-EXE [ARGUMENT...]\n", stderr);
    return 2;
  }
  std::wstring arguments;
  for (int i = 3; i < argc; ++i) arguments += std::wstring(i > 3 ? L" " : L"") + argv[i];
  ChildProcess installer(argv[2], arguments);
  const HWND window = WaitForShownWindow(installer.Id(), 30s, L"#32770");
  if (window == nullptr) {
    std::fwprintf(stderr, L"%ls %ls showed no window\n", argv[2], arguments.c_str());
    return 1;
  }
  if (!(mode == L"refusal" ? Refusal(window) : Finish(window))) return 1;
  std::fwprintf(stdout, L"exit code %ld\n", installer.WaitForExit(30s));
  return 0;
}
