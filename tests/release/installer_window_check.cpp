// Runs the installer with the arguments given, not silently, as a user would, and prints what it
// says and its exit code for the installer test, which runs it under Wine. The steps, one after
// the other:
//   ok, yes, no: the installer asks or refuses with a message box before it shows its own window;
//     its message is printed and the user presses that button.
//   run: the user agrees to the licence; once the finish page is shown, its sentence about the
//     installed program is printed and the user leaves it with "Run Tunemood" checked; which
//     process started the program is printed, and the program is closed.
//   finish: as run, but the user leaves the finish page as it is shown; whether it offers to start
//     the program is printed, and, once the installer has ended, whether the program runs.
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "child_process.h"
#include "waiting.h"
#include "win32/handles.h"
#include "window_search.h"

namespace {

// The installer's Next, I Agree and Finish button.
constexpr int kNextButton = 1;
constexpr wchar_t kFinishText[] = L"&Finish";
constexpr wchar_t kChoiceStart[] = L"Installed the ";
constexpr wchar_t kProgramClass[] = L"TunemoodMain";
constexpr wchar_t kProgramFile[] = L"tunemood.exe";
constexpr const wchar_t* kSteps[] = {L"ok", L"yes", L"no", L"run", L"finish"};

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

// A message box's message is the text of its static controls (the icon's has none).
bool Answer(HWND box, int button) {
  std::wstring message;
  for (HWND control = ::FindWindowExW(box, nullptr, L"Static", nullptr); control != nullptr;
       control = ::FindWindowExW(box, control, L"Static", nullptr)) {
    message += Text(control);
  }
  std::fwprintf(stdout, L"%ls\n", message.c_str());
  Press(box, button);
  // Gone, so that the next step finds the installer's own window.
  return WaitUntil([&] { return !::IsWindow(box); });
}

// Whether the installer started the program itself, or another process did (which may have
// ended already).
const wchar_t* Starter(DWORD program, DWORD installer) {
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == program) parent = entry.th32ParentProcessID;
  }
  return parent == installer ? L"the installer" : L"another process";
}

bool Started(DWORD installer) {
  HWND program = nullptr;
  if (!WaitUntil([&] { return (program = ::FindWindowW(kProgramClass, nullptr)) != nullptr; })) {
    std::fputws(L"the finish page did not start the program\n", stderr);
    return false;
  }
  DWORD id = 0;
  ::GetWindowThreadProcessId(program, &id);
  std::fwprintf(stdout, L"started by %ls\n", Starter(id, installer));
  ::PostMessageW(program, WM_CLOSE, 0, 0);
  return WaitUntil([&] { return !::IsWindow(program); });
}

// Whether a tunemood.exe runs; each one found is ended, so that the installer test's later cases
// find none.
bool EndPrograms() {
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, kProgramFile) != 0) continue;
    found = true;
    const UniqueKernelHandle program(::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (program) ::TerminateProcess(program.get(), 1);
  }
  return found;
}

// The finish page's "Run Tunemood" check box, where it is shown.
HWND RunCheckBox(HWND installer) {
  return FindControl(installer, L"Button", [](HWND control) {
    return (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX &&
           ::IsWindowVisible(control);
  });
}

// Takes the installer to its finish page and prints the page's sentence about the program; with
// start, the user checks "Run Tunemood", else leaves the page as shown and what it offers is
// printed. Then the user presses Finish.
bool Finish(HWND installer, bool start) {
  Press(installer, kNextButton);
  HWND choice = nullptr;
  const bool finished = WaitUntil([&] {
    choice = FindControl(installer, L"Static",
                         [](HWND control) { return Text(control).starts_with(kChoiceStart); });
    // Shown once the page is made, so its controls are as the installer leaves them.
    return choice != nullptr && ::IsWindowVisible(choice) &&
           Text(::GetDlgItem(installer, kNextButton)) == kFinishText;
  });
  if (!finished) {
    std::fputws(L"the finish page with the installer's choice did not come\n", stderr);
    return false;
  }
  std::fwprintf(stdout, L"%ls\n", Text(choice).c_str());
  // Checked, "Run Tunemood" starts the program as the installer ends.
  const HWND run = RunCheckBox(installer);
  if (!start) {
    std::fwprintf(
        stdout, L"%ls\n",
        run != nullptr ? L"it offers to start Tunemood" : L"it does not offer to start Tunemood");
  } else if (run == nullptr || !Send(run, BM_SETCHECK, BST_CHECKED, 0)) {
    std::fputws(L"the finish page has no check box to start the program\n", stderr);
    return false;
  }
  Press(installer, kNextButton);
  return true;
}

// Takes the installer through one step; false when it did not go as the step expects.
bool Step(const std::wstring& step, const ChildProcess& installer) {
  const HWND window = WaitForShownWindow(installer.Id(), L"#32770");
  if (window == nullptr) {
    std::fputws(L"the installer showed no window\n", stderr);
    return false;
  }
  if (step == L"ok") return Answer(window, IDOK);
  if (step == L"yes") return Answer(window, IDYES);
  if (step == L"no") return Answer(window, IDNO);
  if (step == L"finish") return Finish(window, false);
  return Finish(window, true) && Started(installer.Id());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> steps;
  bool valid = argc >= 3;
  for (std::wstring list = argc > 1 ? argv[1] : L""; valid && !list.empty();) {
    const std::size_t end = std::min(list.find(L','), list.size());
    steps.push_back(list.substr(0, end));
    list.erase(0, end + 1);
    valid = std::find(std::begin(kSteps), std::end(kSteps), steps.back()) != std::end(kSteps);
  }
  if (!valid || steps.empty()) {
    std::fputws(
        L"usage: installer_window_check ok|yes|no|run|finish[,...] SETUP-EXE [ARGUMENT...]\n",
        stderr);
    return 2;
  }
  std::wstring arguments;
  for (int i = 3; i < argc; ++i) arguments += std::wstring(i > 3 ? L" " : L"") + argv[i];
  ChildProcess installer(argv[2], arguments);
  for (const std::wstring& step : steps) {
    if (!Step(step, installer)) return 1;
  }
  std::fwprintf(stdout, L"exit code %ld\n", installer.WaitForExit());
  // The installer starts the program, when it does, before it ends.
  if (steps.back() == L"finish") {
    std::fwprintf(stdout, L"%ls\n", EndPrograms() ? L"Tunemood runs" : L"Tunemood does not run");
  }
  return 0;
}
