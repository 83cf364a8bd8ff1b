#pragma once

#include <vector>

#include "app/form_window.h"
#include "app/outside.h"
#include "ui/debug_report.h"

// The main window as the synchroniser drives it, without a screen.
class FakeForm final : public FormWindow {
 public:
  FakeForm() = default;
  // A form that draws: each report is made as the window makes it, and kept.
  explicit FakeForm(Outside& drawn) : mDrawn(&drawn) {}

  bool checked = false;
  bool timerRunning = true;
  int reports = 0;
  std::vector<ReportLine> report;
  bool cleared = false;

  void ShowDebugInformation() override {
    ++reports;
    if (mDrawn) report = BuildDebugInformation(*mDrawn);
  }
  void SetEnabledChecked(bool value) override { checked = value; }
  void StopTimer() override { timerRunning = false; }
  void ClearWindow() override { cleared = true; }

 private:
  Outside* mDrawn = nullptr;
};
