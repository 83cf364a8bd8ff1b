#include "ui/debug_report.h"

#include <utility>

#include "app/state.h"

namespace {

std::wstring BooleanText(bool value) {
  return value ? L"True" : L"False";
}

class Printer {
 public:
  void Print(std::wstring text) { mLines.push_back({std::move(text), false}); }
  void PrintBold(std::wstring text) { mLines.push_back({std::move(text), true}); }
  std::vector<ReportLine> Lines() && { return std::move(mLines); }

 private:
  std::vector<ReportLine> mLines;
};

// The per-user policy only matters when the machine-wide one leaves the interface enabled.
std::wstring ApiDisabledLine(Outside& outside) {
  if (outside.IsSkypeApiDisabledAllUsers()) return L"Skype API Disabled? True, all users";
  if (outside.IsSkypeApiDisabledCurrentUser()) return L"Skype API Disabled? True, current user";
  return L"Skype API Disabled? False";
}

}  // namespace

std::vector<ReportLine> BuildDebugInformation(Outside& outside) {
  Printer report;
  report.Print(L"Setting Skype Status As Winamp Current Track? " + BooleanText(gEnabled));
  report.Print(L"");
  report.PrintBold(L"Skype Debug Information");
  report.Print(L"");
  const WindowHandle chat = outside.FindSkypeWindow();
  report.Print(L"Skype Window Found? " + BooleanText(chat != 0));
  report.Print(L"Skype Window Handle: " + std::to_wstring(chat));
  report.Print(L"");
  report.Print(L"Initial Skype Status (Mood):");
  report.Print(gInitialMood);
  report.Print(L"");
  report.Print(ApiDisabledLine(outside));
  report.Print(L"");
  report.PrintBold(L"Winamp Debug Information");
  report.Print(L"");
  const WindowHandle player = outside.FindWinampWindow();
  report.Print(L"Winamp Window Found? " + BooleanText(player != 0));
  report.Print(L"Winamp Window Handle: " + std::to_wstring(player));
  report.Print(L"");
  report.Print(L"Winamp Window Caption:");
  report.Print(outside.GetWindowCaption(player));
  report.Print(L"");
  report.Print(L"Winamp Current Track Stopped? " + BooleanText(outside.IsWinampStopped()));
  report.Print(L"Winamp Current Track Paused? " + BooleanText(outside.IsWinampPaused()));
  report.Print(L"");
  report.Print(L"Winamp Current Track:");
  report.Print(outside.GetWinampCurrentTrack());
  return std::move(report).Lines();
}
