#include "journey.h"

#include <chrono>

#include "chat/skype.h"
#include "ui/debug_report.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kPlayerClass[] = L"Winamp v1.x";

}  // namespace

PlayerWindow::PlayerWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kPlayerClass;
  ::RegisterClassExW(&windowClass);
  mWindow = ::CreateWindowExW(0, kPlayerClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
}

PlayerWindow::~PlayerWindow() {
  if (mWindow) ::DestroyWindow(mWindow);
}

void PlayerWindow::Show(const std::wstring& caption) const {
  ::SetWindowTextW(mWindow, caption.c_str());
}

bool ChatProgram::Start() {
  if (!mChat) {
    mProcess = ChildProcess(mExe, L"");
    mWindow = WaitForWindow(L"tSkMainForm", 10s, mProcess.Id());
    if (mWindow == nullptr) return false;
    mChat.emplace(mWindow);
  }
  return StopFaults() && mChat->SetMood(kUserMood) && mChat->ClearLog();
}

void ChatProgram::Vanish() {
  mChat.reset();
  ::SendMessageTimeoutW(mWindow, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
  mProcess.WaitForExit(10s);
  mWindow = nullptr;
}

bool ChatProgram::StopFaults() const {
  using chat_standin::Request;
  bool stopped = true;
  for (Request kind : {Request::Create, Request::Connect, Request::ReadProfile, Request::ReadMood,
                       Request::WriteMood}) {
    stopped = mChat->AnswerNext(kind, 0, S_OK) && stopped;
  }
  return stopped;
}

WindowHandle WatchedDesktop::FindWindowByClass(const wchar_t* className) const {
  const WindowHandle found = mDesktop.FindWindowByClass(className);
  if (found > 0 && std::wstring_view(className) == L"tSkMainForm" && afterChatFound) {
    afterChatFound();
  }
  return found;
}

void ProgramRun::ShowDebugInformation() {
  BuildDebugInformation(mOutside);
}
