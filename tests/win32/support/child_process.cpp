#include "child_process.h"

#include <vector>

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
    ::CloseHandle(info.hThread);
    mProcess.reset(info.hProcess);
    mId = info.dwProcessId;
  }
}

bool ChildProcess::Running() const {
  return mProcess && ::WaitForSingleObject(mProcess.get(), 0) == WAIT_TIMEOUT;
}

long ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!mProcess) return -1;
  if (::WaitForSingleObject(mProcess.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(mProcess.get(), &code);
  return static_cast<long>(code);
}

void ChildProcess::Terminate() {
  if (!Running()) return;
  ::TerminateProcess(mProcess.get(), 1);
  ::WaitForSingleObject(mProcess.get(), 5000);
}

std::wstring WindowsPath(const std::string& linuxPath) {
  std::wstring path = L"Z:";
  for (char c : linuxPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

HWND WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout, DWORD processId) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = nullptr;
        for (HWND w = ::FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
             w = ::FindWindowExW(nullptr, w, className, nullptr)) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(w, &owner);
          if (processId == 0 || owner == processId) {
            found = w;
            break;
          }
        }
        return found != nullptr;
      },
      timeout);
  return found;
}
