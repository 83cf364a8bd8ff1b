#pragma once

#include <windows.h>

#include "app/form_window.h"
#include "app/outside.h"
#include "app/synchroniser.h"
#include "ui/form_mouse.h"
#include "win32/report_painter.h"

// frmMain: the program's one window. It carries the timer, the menu and the debug report.
class MainWindow final : public FormWindow {
 public:
  MainWindow(HINSTANCE instance, Outside& outside);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden and runs Form_Load; false when the window cannot be created.
  bool Load();
  void Show();
  // False once the window is gone: the program then ends.
  bool IsLoaded() const { return mHwnd != nullptr; }

  // Repaints at once; the paint makes the report afresh.
  void ShowDebugInformation() override;
  void SetEnabledChecked(bool checked) override;
  void StopTimer() override;
  void ClearWindow() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Form_Paint();
  void OnPrintClient(HDC dc);
  void OnCommand(UINT id);
  void OnDpiChanged(unsigned dpi, const RECT& suggested);
  void mnuAbout_Click();
  void mnuExit_Click();
  // The one way out, whatever asked for it: Exit, the close button or the end of the session.
  void Unload();

  HINSTANCE mInstance;
  Outside& mOutside;
  Synchroniser mSync;
  FormMouse mMouse;
  ReportFonts mFonts;
  HWND mHwnd = nullptr;
  bool mTimerRunning = false;
  bool mUnloading = false;
};
