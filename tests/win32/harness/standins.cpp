#include "standins.h"

#include "built_paths.h"
#include "waiting.h"
#include "win32/module_export.h"
#include "window_search.h"

namespace {

constexpr wchar_t kChatClass[] = L"tSkMainForm";
constexpr wchar_t kPlayerClass[] = L"Winamp v1.x";

// Closes a stand-in as the user would and waits for a clean exit.
bool CloseProgram(ChildProcess& process, HWND window) {
  Send(window, WM_CLOSE, 0, 0);
  return process.WaitForExit() == 0;
}

}  // namespace

bool RegisterChatStandIn() {
  const UniqueModule dll(::LoadLibraryW(StandinChatComPath().c_str()));
  if (!dll) return false;
  const auto registerServer = FindExport<HRESULT STDAPICALLTYPE()>(dll.get(), "DllRegisterServer");
  return registerServer != nullptr && SUCCEEDED(registerServer());
}

bool ChatClient::Start(const std::wstring& mood) {
  mChat.reset();
  mProcess = ChildProcess(StandinChatPath(), L"");
  mWindow = WaitForShownWindow(mProcess.Id(), kChatClass);
  if (mWindow == nullptr) return false;
  mChat.emplace(mWindow);
  return mChat->SetMood(mood);
}

bool ChatClient::Close() {
  mChat.reset();
  return CloseProgram(mProcess, mWindow);
}

bool PlayerProgram::Start(const std::wstring& caption) {
  mProcess = ChildProcess(StandinPlayerPath(), L"\"" + caption + L"\"");
  mWindow = WaitForShownWindow(mProcess.Id(), kPlayerClass);
  return mWindow != nullptr;
}

bool PlayerProgram::Show(const std::wstring& caption) const {
  return ::SetWindowTextW(mWindow, caption.c_str()) != 0;
}

bool PlayerProgram::Close() {
  return CloseProgram(mProcess, mWindow);
}

PlayerWindow::PlayerWindow(const std::wstring& caption) {
  WNDCLASSW playerClass{};
  playerClass.lpfnWndProc = &::DefWindowProcW;
  playerClass.hInstance = ::GetModuleHandleW(nullptr);
  playerClass.lpszClassName = kPlayerClass;
  ::RegisterClassW(&playerClass);
  mWindow.reset(::CreateWindowExW(0, kPlayerClass, caption.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, playerClass.hInstance, nullptr));
}

void PlayerWindow::Show(const std::wstring& caption) const {
  ::SetWindowTextW(mWindow.get(), caption.c_str());
}
