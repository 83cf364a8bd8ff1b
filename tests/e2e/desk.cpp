#include "desk.h"

#include "win32/resource.h"

using namespace std::chrono_literals;

namespace {

// The window a process shows first, whatever its class.
HWND WaitForProcessWindow(DWORD processId, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = nullptr;
        for (HWND w = ::GetTopWindow(nullptr); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(w, &owner);
          if (owner == processId && ::IsWindowVisible(w) && ::GetWindow(w, GW_OWNER) == nullptr) {
            found = w;
            break;
          }
        }
        return found != nullptr;
      },
      timeout);
  return found;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, nullptr) != 0;
}

}  // namespace

bool RegisterChatStandIn() {
  return chat_standin::RegisterServer(WindowsPath(STANDIN_CHAT_COM));
}

Desk::~Desk() {
  // Tunemood first, so that it does not see the stand-ins go.
  mTunemood.Terminate();
  mPlayerProcess.Terminate();
  mChatProcess.Terminate();
}

bool Desk::StartChat(const std::wstring& mood) {
  mChatProcess = ChildProcess(WindowsPath(STANDIN_CHAT), L"");
  mChatWindow = WaitForWindow(L"tSkMainForm", 10s, mChatProcess.Id());
  if (mChatWindow == nullptr) return false;
  mChat.emplace(mChatWindow);
  return mChat->SetMood(mood);
}

bool Desk::CloseChat() {
  mChat.reset();
  Send(mChatWindow, WM_CLOSE, 0, 0);
  return mChatProcess.WaitForExit(10s) == 0;
}

bool Desk::StartPlayer(const std::wstring& caption) {
  mPlayerProcess = ChildProcess(WindowsPath(STANDIN_PLAYER), L"\"" + caption + L"\"");
  mPlayerWindow = WaitForWindow(L"Winamp v1.x", 10s, mPlayerProcess.Id());
  return mPlayerWindow != nullptr;
}

bool Desk::ShowCaption(const std::wstring& caption) {
  return ::SetWindowTextW(mPlayerWindow, caption.c_str()) != 0;
}

bool Desk::ClosePlayer() {
  Send(mPlayerWindow, WM_CLOSE, 0, 0);
  return mPlayerProcess.WaitForExit(10s) == 0;
}

bool Desk::StartTunemood() {
  mTunemood = ChildProcess(WindowsPath(TUNEMOOD_EXE), L"");
  mTunemoodWindow = WaitForProcessWindow(mTunemood.Id(), 10s);
  return mTunemoodWindow != nullptr;
}

bool Desk::Command(UINT id) {
  return Send(mTunemoodWindow, WM_COMMAND, id, 0);
}

long Desk::WaitForTunemoodExit() {
  return mTunemood.WaitForExit(10s);
}

long Desk::ExitByMenu() {
  Command(IDM_EXIT);
  return WaitForTunemoodExit();
}

long Desk::CloseTunemood() {
  Send(mTunemoodWindow, WM_CLOSE, 0, 0);
  return WaitForTunemoodExit();
}

long Desk::LogOff() {
  // The flag has the top bit set; LPARAM carries it as it is.
  const auto logoff = static_cast<LPARAM>(static_cast<LONG>(ENDSESSION_LOGOFF));
  Send(mTunemoodWindow, WM_QUERYENDSESSION, 0, logoff);
  Send(mTunemoodWindow, WM_ENDSESSION, TRUE, logoff);
  return WaitForTunemoodExit();
}

long Desk::StartSecondCopy() {
  ChildProcess second(WindowsPath(TUNEMOOD_EXE), L"");
  return second.WaitForExit(10s);
}

bool Desk::MoodBecomes(const std::wstring& expected, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return mChat && mChat->Mood() == expected; }, timeout);
}

bool Desk::WaitForRead(std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return mChat && !mChat->Log(L"ReadMood").empty(); }, timeout);
}

void Desk::WaitOneTick() {
  ::Sleep(1300);
}
