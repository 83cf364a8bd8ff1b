#pragma once

#include <windows.h>

#include <memory>

#include "app/form_window.h"
#include "app/outside.h"
#include "app/synchroniser.h"

// frmMain: the program's one window. It carries the timer, the menu and the debug report.
class MainWindow final : public FormWindow {
 public:
  MainWindow(HINSTANCE instance, Outside& outside);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden and runs Form_Load; false when the window cannot be created.
  bool Load();
  void Show();

  void ShowDebugInformation() override;
  void SetEnabledChecked(bool checked) override;
  void StopTimer() override;
  void ClearWindow() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Form_Paint();
  void OnCommand(UINT id);

  HINSTANCE mInstance;
  Outside& mOutside;
  Synchroniser mSync;
  HWND mHwnd = nullptr;
  HMENU mPopUp = nullptr;
  bool mTimerRunning = false;
};
