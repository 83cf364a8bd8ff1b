#include "desk.h"

#include "built_paths.h"
#include "waiting.h"
#include "win32/resource.h"
#include "window_search.h"

using namespace std::chrono_literals;

bool Desk::StartTunemood() {
  mTunemood = ChildProcess(TunemoodPath(), L"");
  mTunemoodWindow = WaitForShownWindow(mTunemood.Id(), 10s);
  return mTunemoodWindow != nullptr;
}

bool Desk::Command(UINT id) {
  return Send(mTunemoodWindow, WM_COMMAND, id, 0);
}

long Desk::TunemoodExitCode(std::chrono::milliseconds timeout) {
  return mTunemood.WaitForExit(timeout);
}

long Desk::ExitByMenu() {
  Command(IDM_EXIT);
  return TunemoodExitCode();
}

long Desk::CloseTunemood() {
  Send(mTunemoodWindow, WM_CLOSE, 0, 0);
  return TunemoodExitCode();
}

bool Desk::MoodBecomes(const std::wstring& expected, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return ChatRunning() && Chat().Mood() == expected; }, timeout);
}

bool Desk::WriteArrives(const std::wstring& text) const {
  return WaitUntil(
      [&] {
        for (const auto& write : Chat().Log(L"WriteMood")) {
          if (write.text == text) return true;
        }
        return false;
      },
      5s);
}

bool Desk::WaitForRead(std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return ChatRunning() && !Chat().Log(L"ReadMood").empty(); }, timeout);
}

void Desk::WaitOneTick() {
  ::Sleep(1300);
}
