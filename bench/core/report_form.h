#pragma once

#include <vector>

#include "app/form_window.h"
#include "app/outside.h"
#include "ui/debug_report.h"

// The main window as a tick drives it, without a screen: the report is made exactly as the
// window makes it for every tick, and kept instead of drawn.
class ReportForm final : public FormWindow {
 public:
  explicit ReportForm(Outside& outside) : mOutside(outside) {}
  void ShowDebugInformation() override { lines = BuildDebugInformation(mOutside); }
  void SetEnabledChecked(bool) override {}
  void StopTimer() override {}
  void ClearWindow() override {}

  std::vector<ReportLine> lines;

 private:
  Outside& mOutside;
};
