#pragma once

#include <windows.h>

#include <string_view>

#include "app/outside.h"
#include "ui/form_life.h"
#include "win32/report_accessibility.h"
#include "win32/report_painter.h"

// frmMain: the program's one window. It carries the timer, the menu and the debug report.
class MainWindow final : public FormShell {
 public:
  MainWindow(HINSTANCE instance, Outside& outside);
  // Gone with its owner also when the message loop ended without it, so that no message reaches
  // freed memory.
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden and runs Form_Load; false when the window cannot be created.
  bool Load();
  void Show();
  FormLife& Life() { return mLife; }

  // Repaints at once; the paint makes the report afresh.
  void ShowDebugInformation() override;
  void SetEnabledChecked(bool checked) override;
  void StopTimer() override;
  void ClearWindow() override;
  void Release() override;
  void PostQuit() override;
  void BlockShutdown(std::wstring_view reason) override;
  void AllowShutdown() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Form_Paint();
  void OnPrintClient(HDC dc);
  void OnCommand(UINT id);
  void OnDpiChanged(unsigned dpi, const RECT& suggested);
  void mnuAbout_Click();

  HINSTANCE mInstance;
  Outside& mOutside;
  FormLife mLife;
  ReportFonts mFonts;
  ReportAccessibility mReportAccessibility;
  HWND mHwnd = nullptr;
  bool mTimerRunning = false;
};
