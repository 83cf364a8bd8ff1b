#include "journey.h"

#include "chat/skype.h"
#include "ui/debug_report.h"

bool ChatProgram::Start() {
  if (!mClient.Running() && !mClient.Start(kUserMood)) return false;
  return StopFaults() && Chat().SetMood(kUserMood) && Chat().ClearLog();
}

bool ChatProgram::StopFaults() const {
  using chat_standin::Request;
  bool stopped = true;
  for (Request kind : {Request::Create, Request::Connect, Request::ReadProfile, Request::ReadMood,
                       Request::WriteMood}) {
    stopped = Chat().AnswerNext(kind, 0, S_OK) && stopped;
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
