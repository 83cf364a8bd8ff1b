#include "desk.h"

#include "built_paths.h"
#include "waiting.h"
#include "win32/resource.h"
#include "window_search.h"

bool Desk::StartTunemood() {
  mTunemood = ChildProcess(TunemoodPath(), L"");
  mTunemoodWindow = WaitForShownWindow(mTunemood.Id());
  return mTunemoodWindow != nullptr;
}

bool Desk::Command(UINT id) {
  return Send(mTunemoodWindow, WM_COMMAND, id, 0);
}

long Desk::TunemoodExitCode() {
  return mTunemood.WaitForExit();
}

long Desk::ExitByMenu() {
  Command(IDM_EXIT);
  return TunemoodExitCode();
}

long Desk::CloseTunemood() {
  Send(mTunemoodWindow, WM_CLOSE, 0, 0);
  return TunemoodExitCode();
}

bool Desk::MoodBecomes(const std::wstring& expected) const {
  return WaitUntil([&] { return ChatRunning() && Chat().Mood() == expected; });
}

bool Desk::WriteArrives(const std::wstring& text) const {
  return WaitUntil([&] {
    for (const auto& write : Chat().Log(L"WriteMood")) {
      if (write.text == text) return true;
    }
    return false;
  });
}

bool Desk::WaitForRead() const {
  return WaitUntil([&] { return ChatRunning() && !Chat().Log(L"ReadMood").empty(); });
}

bool Desk::WholeTickPasses() const {
  const std::size_t reads = Chat().Log(L"ReadMood").size();
  return WaitUntil([&] { return ChatRunning() && Chat().Log(L"ReadMood").size() >= reads + 2; });
}
