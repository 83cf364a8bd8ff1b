#include "child_process.h"

#include <utility>
#include <vector>

#include "waiting.h"

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

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : mProcess(std::move(other.mProcess)), mId(std::exchange(other.mId, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Terminate();
    mProcess = std::move(other.mProcess);
    mId = std::exchange(other.mId, 0);
  }
  return *this;
}

bool ChildProcess::Running() const {
  return mProcess && ::WaitForSingleObject(mProcess.get(), 0) == WAIT_TIMEOUT;
}

long ChildProcess::WaitForExit() {
  if (!mProcess) return -1;
  if (::WaitForSingleObject(mProcess.get(), static_cast<DWORD>(kHangLimit.count())) !=
      WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(mProcess.get(), &code);
  return static_cast<long>(code);
}

void ChildProcess::Terminate() {
  if (!Running()) return;
  ::TerminateProcess(mProcess.get(), 1);
  ::WaitForSingleObject(mProcess.get(), static_cast<DWORD>(kHangLimit.count()));
}
